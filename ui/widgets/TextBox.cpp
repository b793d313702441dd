#include "ui/widgets/TextBox.h"

#include "ui/widgets/LargeTextView.h"
#include "ui/widgets/LineEndBlocks.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

TextBox::TextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            Q_EMIT changed();
    });
}

QString TextBox::text() const
{
    if (showsLargeText() || !document()->isModified())
        return m_text;
    return LineEndBlocks::text(document());
}

bool TextBox::isEmpty() const
{
    return !showsLargeText() && document()->isEmpty();
}

void TextBox::setText(const QString &text)
{
    if (text == this->text()) {
        Q_EMIT textSet();
        return;
    }
    m_text = text;
    m_settingText = true;
    if (text.size() >= largeTextLength && text.size() <= IndexedText::maximumLength) {
        document()->setPlainText(QString());
        showLargeText(text);
    } else {
        hideLargeText();
        LineEndBlocks::load(document(), text);
    }
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
    m_settingText = false;
    Q_EMIT changed();
    Q_EMIT textSet();
}

bool TextBox::showsLargeText() const
{
    return m_largeView && !m_largeView->isHidden();
}

void TextBox::showLargeText(const QString &text)
{
    if (!m_largeView) {
        m_largeView = new LargeTextView(this);
        connect(m_largeView, &LargeTextView::contextMenuRequested, this,
                &TextBox::showLargeTextMenu);
        connect(m_largeView, &LargeTextView::pasteSelectionRequested, this,
                &TextBox::pasteSelectionAt);
    }
    m_largeView->setGeometry(rect());
    m_largeView->setText(text);
    m_largeView->setCaretShown(hasFocus());
    m_largeView->show();
}

void TextBox::hideLargeText()
{
    if (!showsLargeText())
        return;
    m_largeView->hide();
    m_largeView->clear();
}

void TextBox::beginEditing()
{
    const IndexedText &shown = m_largeView->text();
    const auto editorPosition = [&](qsizetype position) {
        const qsizetype line = shown.lineOf(position);
        return document()->findBlockByNumber(int(line)).position() +
               int(position - shown.lineStart(line));
    };
    const int firstLine = m_largeView->verticalScrollBar()->value();
    const int left = m_largeView->horizontalScrollBar()->value();

    m_settingText = true;
    LineEndBlocks::load(document(), m_text);
    document()->setModified(false);
    QTextCursor cursor(document());
    cursor.setPosition(editorPosition(m_largeView->anchor()));
    cursor.setPosition(editorPosition(m_largeView->position()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    m_settingText = false;

    hideLargeText();
    verticalScrollBar()->setValue(firstLine);
    horizontalScrollBar()->setValue(left);
}

bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction *action : std::as_const(m_windowShortcuts)) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QPlainTextEdit::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (showsLargeText()) {
        if (!LargeTextView::isEdit(event)) {
            m_largeView->keyPress(event);
            return;
        }
        beginEditing();
    }
    // The editor would put a line separator inside the block for Shift+Enter, and give a new
    // block break the format of the text before it; each key makes a line end of its own.
    const bool lineFeed = event->matches(QKeySequence::InsertLineSeparator);
    if (lineFeed || event->matches(QKeySequence::InsertParagraphSeparator)) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock(QTextBlockFormat(),
                           LineEndBlocks::formatOf(lineFeed ? LineEndBlocks::LineEnd::Lf
                                                            : LineEndBlocks::LineEnd::CrLf));
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // The editor would make line ends of characters it takes for its own markers.
    if (LargeTextView::isEdit(event) && LineEndBlocks::holdsMarkers(event->text())) {
        insertAsKept(event->text());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (showsLargeText()) {
        if (event->commitString().isEmpty() && event->preeditString().isEmpty())
            return;
        beginEditing();
    }
    if (!LineEndBlocks::holdsMarkers(event->commitString())) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // The committed text goes in as the pane keeps it, over the selection, as the editor's own
    // input does, and over what the input method replaces; the editor is left the composing rest.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.setPosition(cursor.position() + event->replacementStart());
    cursor.setPosition(cursor.position() + event->replacementLength(), QTextCursor::KeepAnchor);
    LineEndBlocks::insert(cursor, event->commitString());
    cursor.endEditBlock();
    setTextCursor(cursor);
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&rest);
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (showsLargeText()) {
        const QVariant answer = m_largeView->inputMethodQuery(query);
        if (answer.isValid() && query == Qt::ImCursorRectangle)
            return answer.toRectF().translated(m_largeView->viewport()->mapTo(this, QPoint()));
        if (answer.isValid())
            return answer;
    }
    return QPlainTextEdit::inputMethodQuery(query);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    if (showsLargeText())
        m_largeView->setCaretShown(true);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (showsLargeText())
        m_largeView->setCaretShown(false);
}

void TextBox::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (m_largeView)
        m_largeView->setGeometry(rect());
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    if (showsLargeText())
        showLargeTextMenu(event->globalPos());
    else
        QPlainTextEdit::contextMenuEvent(event);
}

void TextBox::showLargeTextMenu(const QPoint &globalPos)
{
    // The editor's own menu, with the editing commands handing the text to the editor first.
    const auto caption = [](const char *text, QKeySequence::StandardKey key) {
        return QCoreApplication::translate("QWidgetTextControl", text) + u'\t' +
               QKeySequence(key).toString(QKeySequence::NativeText);
    };
    const bool selected = m_largeView->hasSelection();
    QMenu menu;
    menu.addAction(caption("&Undo", QKeySequence::Undo))->setEnabled(false);
    menu.addAction(caption("&Redo", QKeySequence::Redo))->setEnabled(false);
    menu.addSeparator();
    QAction *cutAction = menu.addAction(caption("Cu&t", QKeySequence::Cut));
    cutAction->setEnabled(selected);
    QAction *copyAction = menu.addAction(caption("&Copy", QKeySequence::Copy));
    copyAction->setEnabled(selected);
    QAction *pasteAction = menu.addAction(caption("&Paste", QKeySequence::Paste));
    pasteAction->setEnabled(canPaste());
    QAction *deleteAction =
        menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Delete"));
    deleteAction->setEnabled(selected);
    menu.addSeparator();
    QAction *selectAllAction = menu.addAction(caption("Select All", QKeySequence::SelectAll));
    QAction *chosen = menu.exec(globalPos);
    if (chosen == copyAction) {
        m_largeView->copy();
    } else if (chosen == selectAllAction) {
        m_largeView->selectAll();
    } else if (chosen == cutAction || chosen == pasteAction || chosen == deleteAction) {
        beginEditing();
        if (chosen == cutAction)
            cut();
        else if (chosen == pasteAction)
            paste();
        else
            textCursor().removeSelectedText();
    }
}

void TextBox::pasteSelectionAt(const QPoint &viewportPos)
{
    beginEditing();
    const QPoint global = viewport()->mapToGlobal(viewportPos);
    QMouseEvent press(QEvent::MouseButtonPress, viewportPos, global, Qt::MiddleButton,
                      Qt::MiddleButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, viewportPos, global, Qt::MiddleButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport(), &release);
}

void TextBox::insertFromMimeData(const QMimeData *source)
{
    // The editor's own paste would end every pasted line with CR LF.
    if (source->hasText())
        insertAsKept(source->text());
}

void TextBox::insertAsKept(const QString &text)
{
    QTextCursor cursor = textCursor();
    LineEndBlocks::insert(cursor, text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *TextBox::createMimeDataFromSelection() const
{
    // The editor's own copy would give every line end as an LF, and the stand-ins of markers.
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(LineEndBlocks::text(document(), cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}
