#include "ui/widgets/LargeTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <array>

namespace
{

enum class Step {
    NextCharacter,
    PreviousCharacter,
    NextWord,
    PreviousWord,
    NextLine,
    PreviousLine,
    NextPage,
    PreviousPage,
    LineStart,
    LineEnd,
    TextStart,
    TextEnd
};

struct Motion {
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
    Step step;
};

constexpr std::array motions = {
    Motion{QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Step::NextCharacter},
    Motion{QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
           Step::PreviousCharacter},
    Motion{QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Step::NextWord},
    Motion{QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Step::PreviousWord},
    Motion{QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Step::NextLine},
    Motion{QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Step::PreviousLine},
    Motion{QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Step::NextPage},
    Motion{QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Step::PreviousPage},
    Motion{QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Step::LineStart},
    Motion{QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Step::LineEnd},
    Motion{QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
           Step::TextStart},
    Motion{QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Step::TextEnd},
};

constexpr std::array editingKeys = {
    QKeySequence::Cut,
    QKeySequence::Paste,
    QKeySequence::Delete,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
    QKeySequence::DeleteEndOfLine,
    QKeySequence::DeleteCompleteLine,
    QKeySequence::InsertParagraphSeparator,
    QKeySequence::InsertLineSeparator,
};

constexpr int dragScrollInterval = 50;

} // namespace

bool LargeTextView::isEdit(const QKeyEvent *event)
{
    for (const QKeySequence::StandardKey key : editingKeys) {
        if (event->matches(key))
            return true;
    }
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    // The editor types a key's text when it is printable, a tab, or a format character, except
    // under Ctrl or Ctrl+Shift alone (AltGr, which is Ctrl+Alt, does type).
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return c.isPrint() || c == u'\t' || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

void LargeTextView::keyPress(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    // Before the first edit there is nothing to undo or redo.
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return;
    const auto motion = std::find_if(motions.begin(), motions.end(), [event](const Motion &m) {
        return event->matches(m.move) || event->matches(m.select);
    });
    if (motion == motions.end()) {
        event->ignore();
        return;
    }
    const bool select = event->matches(motion->select);
    const bool vertical = motion->step == Step::NextLine || motion->step == Step::PreviousLine ||
                          motion->step == Step::NextPage || motion->step == Step::PreviousPage;
    if (!vertical)
        m_goalX = -1;
    else if (m_goalX < 0)
        m_goalX = xOf(m_position);
    const qsizetype line = m_text.lineOf(m_position);
    const int page = visibleLines();
    qsizetype target = m_position;
    switch (motion->step) {
    case Step::NextCharacter:
        // Without Shift, a selection collapses to its end before the caret moves on.
        target = hasSelection() && !select ? std::max(m_anchor, m_position)
                                           : nextPosition(m_position, false);
        break;
    case Step::PreviousCharacter:
        target = hasSelection() && !select ? std::min(m_anchor, m_position)
                                           : previousPosition(m_position, false);
        break;
    case Step::NextWord:
        target = nextPosition(m_position, true);
        break;
    case Step::PreviousWord:
        target = previousPosition(m_position, true);
        break;
    case Step::NextLine:
        target = lineMove(1);
        break;
    case Step::PreviousLine:
        target = lineMove(-1);
        break;
    case Step::NextPage:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
        target = lineMove(page);
        break;
    case Step::PreviousPage:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - page);
        target = lineMove(-page);
        break;
    case Step::LineStart:
        target = m_text.lineStart(line);
        break;
    case Step::LineEnd:
        target = m_text.lineEnd(line);
        break;
    case Step::TextStart:
        target = 0;
        break;
    case Step::TextEnd:
        target = m_text.size();
        break;
    }
    moveCaret(target, select);
}

qsizetype LargeTextView::nextPosition(qsizetype position, bool byWord) const
{
    const qsizetype line = m_text.lineOf(position);
    if (position >= m_text.lineEnd(line))
        return line + 1 < m_text.lineCount() ? m_text.lineStart(line + 1) : position;
    const int piece = pieceAt(line, position);
    const qsizetype from = pieceStart(line, piece);
    QTextLayout layout;
    layOut(layout, line, piece);
    return from +
           layout.nextCursorPosition(int(position - from),
                                     byWord ? QTextLayout::SkipWords : QTextLayout::SkipCharacters);
}

qsizetype LargeTextView::previousPosition(qsizetype position, bool byWord) const
{
    const qsizetype line = m_text.lineOf(position);
    if (position <= m_text.lineStart(line))
        return line > 0 ? m_text.lineEnd(line - 1) : position;
    const int piece = pieceAt(line, position - 1);
    const qsizetype from = pieceStart(line, piece);
    QTextLayout layout;
    layOut(layout, line, piece);
    return from + layout.previousCursorPosition(int(position - from),
                                                byWord ? QTextLayout::SkipWords
                                                       : QTextLayout::SkipCharacters);
}

qsizetype LargeTextView::lineMove(qsizetype lines) const
{
    const qsizetype line =
        std::clamp<qsizetype>(m_text.lineOf(m_position) + lines, 0, m_text.lineCount() - 1);
    return positionInLine(line, m_goalX);
}

void LargeTextView::moveCaret(qsizetype position, bool select)
{
    m_position = position;
    if (!select)
        m_anchor = position;
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
}

void LargeTextView::setSelection(qsizetype anchor, qsizetype position)
{
    // A position between the CR and the LF of a line end stands for the end of that line.
    const auto fitted = [this](qsizetype at) {
        at = std::clamp<qsizetype>(at, 0, m_text.size());
        return std::min(at, m_text.lineEnd(m_text.lineOf(at)));
    };
    m_anchor = fitted(anchor);
    m_position = fitted(position);
    m_goalX = -1;
    restartBlink();
    viewport()->update();
}

QString LargeTextView::selectedText() const
{
    const qsizetype from = std::min(m_anchor, m_position);
    return m_text.text().mid(from, std::max(m_anchor, m_position) - from);
}

void LargeTextView::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void LargeTextView::selectAll()
{
    setSelection(0, m_text.size());
}

void LargeTextView::selectWordAt(qsizetype position)
{
    const qsizetype line = m_text.lineOf(position);
    const int piece = pieceAt(line, position);
    const qsizetype from = pieceStart(line, piece);
    const qsizetype length = pieceStart(line, piece + 1) - from;
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, m_text.text().constData() + from, length);
    words.setPosition(position - from);
    const bool atStart =
        words.isAtBoundary() && words.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem);
    const qsizetype start = atStart ? position - from : words.toPreviousBoundary();
    words.setPosition(position - from);
    const qsizetype end = words.toNextBoundary();
    setSelection(from + std::max<qsizetype>(start, 0), from + (end < 0 ? length : end));
}

void LargeTextView::selectLineAt(qsizetype position)
{
    const qsizetype line = m_text.lineOf(position);
    const qsizetype end =
        line + 1 < m_text.lineCount() ? m_text.lineStart(line + 1) : m_text.lineEnd(line);
    setSelection(m_text.lineStart(line), end);
}

void LargeTextView::setCaretShown(bool shown)
{
    m_caretShown = shown;
    restartBlink();
}

void LargeTextView::restartBlink()
{
    m_caretOn = true;
    const int flashTime = QApplication::cursorFlashTime();
    if (m_caretShown && flashTime >= 2)
        m_blink.start(flashTime / 2, this);
    else
        m_blink.stop();
    viewport()->update();
}

void LargeTextView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blink.timerId()) {
        m_caretOn = !m_caretOn;
        viewport()->update(caretRect());
    } else if (event->timerId() == m_dragScroll.timerId()) {
        moveCaret(positionAt(m_dragPoint), true);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void LargeTextView::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        Q_EMIT pasteSelectionRequested(point);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_goalX = -1;
    if (m_sinceDoubleClick.isValid() &&
        m_sinceDoubleClick.elapsed() < QApplication::doubleClickInterval()) {
        m_sinceDoubleClick.invalidate();
        selectLineAt(positionAt(point));
        return;
    }
    moveCaret(positionAt(point), event->modifiers().testFlag(Qt::ShiftModifier));
    m_dragging = true;
}

void LargeTextView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !event->buttons().testFlag(Qt::LeftButton))
        return;
    m_dragPoint = event->position().toPoint();
    moveCaret(positionAt(m_dragPoint), true);
    // Held outside the view, the pointer keeps the text scrolling towards it.
    if (viewport()->rect().contains(m_dragPoint))
        m_dragScroll.stop();
    else
        m_dragScroll.start(dragScrollInterval, this);
}

void LargeTextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_dragScroll.stop();
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void LargeTextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    selectWordAt(positionAt(event->position().toPoint()));
    m_sinceDoubleClick.start();
}

void LargeTextView::contextMenuEvent(QContextMenuEvent *event)
{
    Q_EMIT contextMenuRequested(event->globalPos());
}

QVariant LargeTextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const qsizetype line = m_text.lineOf(m_position);
    const int piece = pieceAt(line, m_position);
    const qsizetype from = pieceStart(line, piece);
    switch (query) {
    case Qt::ImCursorRectangle:
        return QRectF(caretRect());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return int(m_position - from);
    case Qt::ImAnchorPosition:
        return int(std::clamp(m_anchor, from, pieceStart(line, piece + 1)) - from);
    case Qt::ImSurroundingText:
        return m_text.text().mid(from, pieceStart(line, piece + 1) - from);
    case Qt::ImCurrentSelection: {
        const qsizetype start = std::min(m_anchor, m_position);
        return m_text.text().mid(start,
                                 std::min(std::max(m_anchor, m_position) - start, pieceLength));
    }
    default:
        return QVariant();
    }
}
