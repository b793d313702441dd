#include "ui/widgets/LargeTextView.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace
{

// The lines measured when a text is set, besides the longest ones: about a window's worth.
constexpr qsizetype measuredFirstLines = 100;

} // namespace

LargeTextView::LargeTextView(QPlainTextEdit *editor) : QAbstractScrollArea(editor)
{
    setFrameStyle(editor->frameStyle());
    setLineWidth(editor->lineWidth());
    setMidLineWidth(editor->midLineWidth());
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The editor keeps the focus and hands the keys on.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    m_margin = editor->document()->documentMargin();
    m_option.setWrapMode(QTextOption::NoWrap);
    m_option.setTabStopDistance(editor->tabStopDistance());
    measureLines();
}

void LargeTextView::setText(const QString &text)
{
    m_text = IndexedText(text);
    m_position = 0;
    m_anchor = 0;
    m_goalX = -1;
    m_pieceEdges.clear();
    measureLines();
    updateRanges();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    restartBlink();
    viewport()->update();
}

void LargeTextView::clear()
{
    m_dragging = false;
    m_dragScroll.stop();
    setCaretShown(false);
    setText(QString());
}

void LargeTextView::measureLines()
{
    // The font's own height is the least a line gets, as in the editor.
    const QFontMetricsF metrics(font());
    m_ascent = 0;
    m_descent = 0;
    fitHeight(metrics.ascent(), metrics.descent());
    m_widest = 0;
    std::vector<qsizetype> lines = m_text.longestLines();
    for (qsizetype line = 0; line < std::min(m_text.lineCount(), measuredFirstLines); ++line)
        lines.push_back(line);
    for (const qsizetype line : lines) {
        QTextLayout layout;
        layOut(layout, line, 0);
        fitHeight(layout.lineAt(0).ascent(), layout.lineAt(0).descent());
        m_widest = std::max(m_widest, lineWidth(line));
    }
}

void LargeTextView::fitHeight(qreal ascent, qreal descent)
{
    if (ascent <= m_ascent && descent <= m_descent)
        return;
    m_ascent = std::max(m_ascent, ascent);
    m_descent = std::max(m_descent, descent);
    m_lineHeight = std::max(1, int(std::ceil(m_ascent + m_descent)));
    updateRangesLater();
}

int LargeTextView::visibleLines() const
{
    return std::max(1, (viewport()->height() - int(m_margin)) / m_lineHeight);
}

void LargeTextView::widenTo(qreal width)
{
    if (width <= m_widest)
        return;
    m_widest = width;
    updateRangesLater();
}

void LargeTextView::updateRangesLater()
{
    // Lines prove wider or taller than any measured before while they are painted: the scroll
    // bars, and the painting itself, follow once the painting is done.
    if (!m_rangesPending) {
        m_rangesPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                updateRanges();
                viewport()->update();
            },
            Qt::QueuedConnection);
    }
}

void LargeTextView::updateRanges()
{
    m_rangesPending = false;
    const int lines = visibleLines();
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, int(std::max<qsizetype>(0, m_text.lineCount() - lines)));
    vertical->setPageStep(lines);
    vertical->setSingleStep(1);
    const int caretWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    const int contentWidth = int(std::ceil(m_widest + 2 * m_margin)) + caretWidth;
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, contentWidth - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(20);
}

void LargeTextView::ensureCaretVisible()
{
    const qsizetype line = m_text.lineOf(m_position);
    QScrollBar *vertical = verticalScrollBar();
    if (line < vertical->value())
        vertical->setValue(int(line));
    else if (line >= vertical->value() + visibleLines())
        vertical->setValue(int(line - visibleLines() + 1));

    const qreal x = m_margin + xOf(m_position);
    widenTo(x);
    updateRanges();
    QScrollBar *horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    if (x < horizontal->value() + m_margin)
        horizontal->setValue(int(std::floor(x - m_margin)));
    else if (x > horizontal->value() + width - m_margin)
        horizontal->setValue(int(std::ceil(x - width + m_margin)));
}

void LargeTextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateRanges();
}

void LargeTextView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_pieceEdges.clear();
        m_advances.clear();
        measureLines();
        updateRanges();
    }
}

void LargeTextView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void LargeTextView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    const qsizetype first = verticalScrollBar()->value();
    for (qsizetype line = first; line < m_text.lineCount(); ++line) {
        const qreal top = m_margin + qreal(line - first) * m_lineHeight;
        if (top > area.bottom())
            break;
        if (top + m_lineHeight >= area.top())
            paintLine(painter, line, top);
    }
    if (m_caretShown && m_caretOn)
        painter.fillRect(caretRect(), palette().text());
}

void LargeTextView::paintLine(QPainter &painter, qsizetype line, qreal top)
{
    const qreal left = m_margin - horizontalScrollBar()->value();
    const qreal right = viewport()->width();
    const int count = pieceCount(line);
    int piece = 0;
    while (piece + 1 < count && left + pieceLeft(line, piece + 1) <= 0)
        ++piece;
    for (; piece < count; ++piece) {
        // A piece is shaped before it is placed, so that the next one joins it exactly.
        shapePiece(line, piece);
        const qreal x = left + pieceLeft(line, piece);
        if (x >= right)
            return;
        const qreal advance = paintPiece(painter, line, piece, x, top);
        if (piece == count - 1)
            widenTo(x - left + advance);
    }
}

qreal LargeTextView::paintPiece(QPainter &painter, qsizetype line, int piece, qreal left, qreal top)
{
    QTextLayout layout;
    layOut(layout, line, piece);
    const QTextLine textLine = layout.lineAt(0);
    fitHeight(textLine.ascent(), textLine.descent());
    const qsizetype from = pieceStart(line, piece);
    const qsizetype to = pieceStart(line, piece + 1);
    const qsizetype selectionStart = std::min(m_anchor, m_position);
    const qsizetype selectionEnd = std::max(m_anchor, m_position);
    // A selection that goes on past the line end reaches one character beyond the text, which
    // the layout shows as a short stretch of selection after it, as the editor does.
    const bool lineEndFollows = to == m_text.lineEnd(line);
    const qsizetype rangeStart = std::max(selectionStart, from);
    const qsizetype rangeEnd =
        lineEndFollows && selectionEnd > to ? to + 1 : std::min(selectionEnd, to);
    QList<QTextLayout::FormatRange> selections;
    if (rangeEnd > rangeStart) {
        QTextLayout::FormatRange range;
        range.start = int(rangeStart - from);
        range.length = int(rangeEnd - rangeStart);
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(range);
    }
    // Every line shares one baseline position, whichever fonts its characters come from.
    layout.draw(&painter, QPointF(left, top + m_ascent - textLine.ascent()), selections);
    return textLine.horizontalAdvance();
}

QRect LargeTextView::caretRect() const
{
    const qsizetype line = m_text.lineOf(m_position);
    const qreal top = m_margin + qreal(line - verticalScrollBar()->value()) * m_lineHeight;
    const qreal x = m_margin - horizontalScrollBar()->value() + xOf(m_position);
    const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    return QRect(int(std::round(x)), int(top), width, m_lineHeight);
}
