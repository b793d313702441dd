#include "ui/TextBox.h"

#include <QAction>
#include <QKeyEvent>
#include <QTextDocument>

namespace
{

constexpr QChar paragraphBreak = QChar::ParagraphSeparator;
constexpr QChar lineBreak = QChar::LineSeparator;

} // namespace

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

QString TextBox::toDisplay(const QString &text)
{
    QString display;
    display.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            display.append(paragraphBreak);
        } else if (c == u'\n') {
            display.append(lineBreak);
        } else {
            display.append(c);
        }
    }
    return display;
}

QString TextBox::fromDisplay(const QString &display)
{
    QString text;
    text.reserve(display.size() + display.size() / 16);
    for (const QChar c : display) {
        if (c == paragraphBreak)
            text.append(u"\r\n");
        else if (c == lineBreak)
            text.append(u'\n');
        else
            text.append(c);
    }
    return text;
}

QString TextBox::text() const
{
    if (!document()->isModified())
        return m_text;
    return fromDisplay(document()->toRawText());
}

bool TextBox::isEmpty() const
{
    return document()->isEmpty();
}

void TextBox::setText(const QString &text)
{
    if (text == this->text())
        return;
    m_text = text;
    m_settingText = true;
    // setPlainText() would turn a lone CR into a line break; the document gets explicit
    // separators instead, so that what the user sees is what text() gives back.
    document()->setPlainText(QString());
    QTextCursor cursor(document());
    cursor.insertText(toDisplay(text));
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
    m_settingText = false;
    Q_EMIT changed();
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
