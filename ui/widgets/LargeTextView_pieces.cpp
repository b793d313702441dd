#include "ui/widgets/LargeTextView.h"

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

// Where lines and their pieces lie: which characters a piece holds, how wide it is drawn, and
// which position lies under a point.

namespace
{

// Wide enough for any piece of a line: a piece is never wrapped.
constexpr qreal unwrappedWidth = 1 << 20;
// Pieces measured for this many long lines at most; the cache is emptied when it would grow
// beyond them.
constexpr qsizetype measuredLongLines = 256;

} // namespace

int LargeTextView::pieceCount(qsizetype line) const
{
    return int(std::max<qsizetype>(1, (m_text.lineLength(line) + pieceLength - 1) / pieceLength));
}

qsizetype LargeTextView::pieceStart(qsizetype line, int piece) const
{
    const qsizetype start = m_text.lineStart(line);
    if (piece <= 0)
        return start;
    if (piece >= pieceCount(line))
        return m_text.lineEnd(line);
    // A piece never begins with the second half of a surrogate pair or a combining mark: both
    // belong to the character in front of them.
    qsizetype at = start + piece * pieceLength;
    const qsizetype lowest = at - pieceLength / 2;
    const QString &text = m_text.text();
    while (at > lowest && (text.at(at).isLowSurrogate() || text.at(at).isMark()))
        --at;
    return at;
}

int LargeTextView::pieceAt(qsizetype line, qsizetype position) const
{
    int piece =
        std::min(int((position - m_text.lineStart(line)) / pieceLength), pieceCount(line) - 1);
    if (piece > 0 && pieceStart(line, piece) > position)
        --piece;
    return piece;
}

void LargeTextView::layOut(QTextLayout &layout, qsizetype line, int piece) const
{
    const qsizetype from = pieceStart(line, piece);
    const qsizetype length = pieceStart(line, piece + 1) - from;
    QString text = QString::fromRawData(m_text.text().constData() + from, length);
    // A line separator inside a line would end the layout's one line early.
    if (text.contains(QChar::LineSeparator))
        text.replace(QChar::LineSeparator, u' ');
    layout.setText(text);
    layout.setFont(font());
    layout.setTextOption(m_option);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid())
        textLine.setLineWidth(unwrappedWidth);
    layout.endLayout();
}

LargeTextView::PieceEdges &LargeTextView::edgesUpTo(qsizetype line, int piece) const
{
    if (m_pieceEdges.size() >= measuredLongLines && !m_pieceEdges.contains(line))
        m_pieceEdges.clear();
    PieceEdges &edges = m_pieceEdges[line];
    while (qsizetype(edges.left.size()) <= piece) {
        const int next = int(edges.left.size()) - 1;
        const bool shape = next < shapedPieces;
        edges.left.push_back(edges.left.back() +
                             (shape ? shapedWidth(line, next) : summedWidth(line, next)));
        edges.shaped.push_back(shape);
    }
    return edges;
}

qreal LargeTextView::pieceLeft(qsizetype line, int piece) const
{
    return piece == 0 ? 0 : edgesUpTo(line, piece).left[size_t(piece)];
}

void LargeTextView::shapePiece(qsizetype line, int piece) const
{
    if (piece < shapedPieces || piece >= pieceCount(line))
        return;
    PieceEdges &edges = edgesUpTo(line, piece + 1);
    if (edges.shaped[size_t(piece)])
        return;
    edges.shaped[size_t(piece)] = true;
    const qreal change =
        shapedWidth(line, piece) - (edges.left[size_t(piece) + 1] - edges.left[size_t(piece)]);
    for (size_t later = size_t(piece) + 1; later < edges.left.size(); ++later)
        edges.left[later] += change;
}

qreal LargeTextView::shapedWidth(qsizetype line, int piece) const
{
    QTextLayout layout;
    layOut(layout, line, piece);
    return layout.lineAt(0).horizontalAdvance();
}

qreal LargeTextView::summedWidth(qsizetype line, int piece) const
{
    if (m_advances.empty())
        m_advances.assign(0x10000, -1.0f);
    const QFontMetricsF metrics(font());
    const QString &text = m_text.text();
    const qsizetype end = pieceStart(line, piece + 1);
    const qreal tabStop = m_option.tabStopDistance();
    qreal width = 0;
    for (qsizetype at = pieceStart(line, piece); at < end; ++at) {
        const QChar c = text.at(at);
        if (c == u'\t') {
            width = (std::floor(width / tabStop) + 1) * tabStop;
        } else if (c.isHighSurrogate() && at + 1 < end && text.at(at + 1).isLowSurrogate()) {
            width += metrics.horizontalAdvance(text.mid(at, 2));
            ++at;
        } else {
            float &advance = m_advances[c.unicode()];
            if (advance < 0)
                advance = float(metrics.horizontalAdvance(c));
            width += advance;
        }
    }
    return width;
}

qreal LargeTextView::lineWidth(qsizetype line) const
{
    const int count = pieceCount(line);
    if (count == 1)
        return shapedWidth(line, 0);
    // A long line is measured as far as it has been drawn, the rest estimated from that part.
    const std::vector<qreal> &left = edgesUpTo(line, 1).left;
    const int measured = int(left.size()) - 1;
    if (measured == count)
        return left.back();
    const qsizetype start = m_text.lineStart(line);
    const qreal perCharacter = left.back() / qreal(pieceStart(line, measured) - start);
    return perCharacter * qreal(m_text.lineLength(line));
}

qreal LargeTextView::xOf(qsizetype position) const
{
    const qsizetype line = m_text.lineOf(position);
    const int piece = pieceAt(line, position);
    shapePiece(line, piece);
    QTextLayout layout;
    layOut(layout, line, piece);
    return pieceLeft(line, piece) +
           layout.lineAt(0).cursorToX(int(position - pieceStart(line, piece)));
}

qsizetype LargeTextView::positionInLine(qsizetype line, qreal x) const
{
    const int count = pieceCount(line);
    int piece = 0;
    // Shaping the piece found may show it wider than estimated and move the point into it.
    for (int shaped = -1; shaped != piece;) {
        while (piece + 1 < count && pieceLeft(line, piece + 1) <= x)
            ++piece;
        shaped = piece;
        shapePiece(line, piece);
        while (piece + 1 < count && pieceLeft(line, piece + 1) <= x)
            ++piece;
    }
    QTextLayout layout;
    layOut(layout, line, piece);
    return pieceStart(line, piece) + layout.lineAt(0).xToCursor(x - pieceLeft(line, piece));
}

qsizetype LargeTextView::positionAt(const QPoint &viewportPoint) const
{
    const qreal row = std::floor((viewportPoint.y() - m_margin) / m_lineHeight);
    const qsizetype line = std::clamp<qsizetype>(verticalScrollBar()->value() + qsizetype(row), 0,
                                                 m_text.lineCount() - 1);
    return positionInLine(line, viewportPoint.x() + horizontalScrollBar()->value() - m_margin);
}
