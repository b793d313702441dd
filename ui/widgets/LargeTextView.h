#pragma once

#include "ui/widgets/IndexedText.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QTextOption>

#include <vector>

class QPlainTextEdit;
class QTextLayout;

// Shows a large text the way the editor it lies over would, without a copy of the text and
// without laying it out as a whole: only the lines in view are measured and drawn, straight from
// the shared string. The user can scroll, move the caret, select and copy. The keyboard focus
// stays with the editor, which hands its keys on here and takes the text over at the first edit.
class LargeTextView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit LargeTextView(QPlainTextEdit *editor);

    void setText(const QString &text);
    void clear();
    const IndexedText &text() const { return m_text; }

    // Offsets into the text; the caret never stands inside a CR LF.
    qsizetype position() const { return m_position; }
    qsizetype anchor() const { return m_anchor; }
    void setSelection(qsizetype anchor, qsizetype position);
    bool hasSelection() const { return m_anchor != m_position; }
    QString selectedText() const;
    void copy() const;
    void selectAll();

    // Whether the key would change the text, which only the editor can do.
    static bool isEdit(const QKeyEvent *event);
    // Moves the caret, selects or copies; a key it has no use for is ignored.
    void keyPress(QKeyEvent *event);
    void setCaretShown(bool shown);
    // Answers the input method's questions as the editor would, in viewport coordinates.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    void contextMenuRequested(const QPoint &globalPos);
    // A middle click, which pastes the selection of the X11 desktop there.
    void pasteSelectionRequested(const QPoint &viewportPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // A line is laid out in pieces of about this many characters, so that a line of megabytes
    // costs no more to draw than the part of it in view.
    static constexpr qsizetype pieceLength = 512;
    // The pieces at the start of a line, a million characters, are measured one after the
    // other as the layout draws them. Further pieces are first placed by estimate, from the
    // advances of their characters, and measured when they are drawn or pointed into: the pieces
    // after them then move by the difference, which shows only when a piece comes into view to
    // the left of pieces already in view.
    static constexpr int shapedPieces = 2048;

    IndexedText m_text;
    qsizetype m_position = 0;
    qsizetype m_anchor = 0;
    // Where vertical moves aim, so that a run of Up or Down keeps to one column.
    qreal m_goalX = -1;

    QTextOption m_option;
    qreal m_margin = 0;
    // Every line has the same height: the tallest of the lines measured so far, which grows
    // when a line in view needs more (Japanese text in a fallback font reaches higher and lower
    // than most Latin fonts).
    qreal m_ascent = 0;
    qreal m_descent = 0;
    int m_lineHeight = 1;
    qreal m_widest = 0;
    bool m_rangesPending = false;
    struct PieceEdges {
        std::vector<qreal> left{0};
        // Whether each piece's width is measured or only estimated.
        std::vector<bool> shaped;
    };
    // The left edges of the pieces of long lines, by line, as far as they have been needed.
    mutable QHash<qsizetype, PieceEdges> m_pieceEdges;
    // Advances of single characters by code, for the far parts of very long lines.
    mutable std::vector<float> m_advances;

    bool m_caretShown = false;
    bool m_caretOn = false;
    QBasicTimer m_blink;
    bool m_dragging = false;
    QPoint m_dragPoint;
    QBasicTimer m_dragScroll;
    QElapsedTimer m_sinceDoubleClick;

    // Lines and pieces.
    int pieceCount(qsizetype line) const;
    qsizetype pieceStart(qsizetype line, int piece) const;
    int pieceAt(qsizetype line, qsizetype position) const;
    void layOut(QTextLayout &layout, qsizetype line, int piece) const;
    PieceEdges &edgesUpTo(qsizetype line, int piece) const;
    qreal pieceLeft(qsizetype line, int piece) const;
    void shapePiece(qsizetype line, int piece) const;
    qreal shapedWidth(qsizetype line, int piece) const;
    qreal summedWidth(qsizetype line, int piece) const;
    qreal lineWidth(qsizetype line) const;
    qreal xOf(qsizetype position) const;
    qsizetype positionInLine(qsizetype line, qreal x) const;
    qsizetype positionAt(const QPoint &viewportPoint) const;

    // Metrics and scrolling.
    void measureLines();
    void fitHeight(qreal ascent, qreal descent);
    int visibleLines() const;
    void widenTo(qreal width);
    void updateRangesLater();
    void updateRanges();
    void ensureCaretVisible();

    // Drawing.
    void paintLine(QPainter &painter, qsizetype line, qreal top);
    // Returns the piece's width.
    qreal paintPiece(QPainter &painter, qsizetype line, int piece, qreal left, qreal top);
    QRect caretRect() const;

    // Caret moves.
    void moveCaret(qsizetype position, bool select);
    qsizetype nextPosition(qsizetype position, bool byWord) const;
    qsizetype previousPosition(qsizetype position, bool byWord) const;
    qsizetype lineMove(qsizetype lines) const;
    void selectWordAt(qsizetype position);
    void selectLineAt(qsizetype position);
    void restartBlink();
};
