#include "ui/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace LayoutGeometry
{

namespace
{

float atLeastZero(float size)
{
    return std::max(0.0f, size);
}

QRectF inside(const QRectF &box, const QSizeF &client)
{
    const qreal left = std::clamp(box.left(), 0.0, client.width());
    const qreal top = std::clamp(box.top(), 0.0, client.height());
    const qreal right = std::clamp(box.left() + box.width(), left, client.width());
    const qreal bottom = std::clamp(box.top() + box.height(), top, client.height());
    return QRectF(left, top, right - left, bottom - top);
}

} // namespace

float heldBetween(float position, float least, float greatest)
{
    if (!(position >= least))
        return least;
    if (greatest < position)
        return greatest;
    return position;
}

float layoutX(const Input &input)
{
    return heldBetween(input.X, verticalSplitterMargin, input.W - verticalSplitterMargin);
}

float layoutY(const Input &input)
{
    return heldBetween(input.Y, horizontalSplitterMargin, input.H - horizontalSplitterMargin);
}

float askedFolderListHeight(const Input &input)
{
    return atLeastZero(layoutY(input) - contentTop);
}

Boxes arrange(const Input &input)
{
    const float x = layoutX(input);
    const float columnWidth = atLeastZero(x);
    const float contentHeight = std::max(1.0f, input.H - contentTop - paneBottomMargin);
    const bool progressShown = input.S != 0;

    Boxes boxes;
    boxes.picSS1Width = columnWidth;
    boxes.picSSHeight = contentHeight;
    boxes.dirText = QRectF(0, contentTop, columnWidth, askedFolderListHeight(input));

    const float folderListBottom = contentTop + atLeastZero(input.D);
    const float fileListTop = folderListBottom + horizontalBarHeight;
    // The option is read as on or off: a hand-edited value other than -1 must not stretch the
    // file list over the progress frame.
    const float fileListHeight = input.H - fileListTop - fileListBottomMargin -
                                 (progressShown ? progressFrameAllowance : 0.0f);
    boxes.flbText = QRectF(0, fileListTop, columnWidth, atLeastZero(fileListHeight));
    if (progressShown)
        boxes.imgSt =
            QRectF(0, input.H - progressFrameBottomMargin, columnWidth, progressFrameHeight);

    boxes.imgSS = QRectF(x, contentTop, verticalBarWidth, contentHeight);
    // The handle covers the gap that is really there, above the bar's own place when the folder
    // list settled on less height than it was asked for.
    boxes.imgSS1 = QRectF(0, folderListBottom, columnWidth, fileListTop - folderListBottom);

    const float paneLeft = x + verticalBarWidth;
    const float paneWidth = atLeastZero(input.W - paneLeft - paneRightMargin);
    boxes.txtText = QRectF(paneLeft, contentTop, paneWidth, contentHeight);
    boxes.lineEnd = input.W;
    boxes.lblST[0] = QRectF(0, titleTop, columnWidth, titleHeight);
    boxes.lblST[1] = QRectF(paneLeft, titleTop, paneWidth, titleHeight);
    return boxes;
}

Boxes keptInside(const Boxes &boxes, const QSizeF &client)
{
    Boxes kept = boxes;
    kept.dirText = inside(boxes.dirText, client);
    kept.flbText = inside(boxes.flbText, client);
    if (boxes.imgSt)
        kept.imgSt = inside(*boxes.imgSt, client);
    kept.picSSHeight =
        atLeastZero(std::min(boxes.picSSHeight, float(client.height()) - contentTop));
    kept.picSS1Width = atLeastZero(std::min(boxes.picSS1Width, float(client.width())));
    kept.imgSS = inside(boxes.imgSS, client);
    kept.imgSS1 = inside(boxes.imgSS1, client);
    kept.txtText = inside(boxes.txtText, client);
    kept.lineEnd = atLeastZero(std::min(boxes.lineEnd, float(client.width())));
    for (std::size_t i = 0; i < kept.lblST.size(); ++i)
        kept.lblST[i] = inside(boxes.lblST[i], client);
    return kept;
}

QSizeF outerSize(const QSizeF &client)
{
    return client + designDecoration;
}

QSize leastClientSize(float twipsPerPixelX, float twipsPerPixelY)
{
    // A hair under a whole pixel still counts as that pixel, whatever the rounding of the
    // division.
    constexpr float tolerance = 1e-3f;
    const float width =
        leastOuterWidthTwips / twipsPerPixelX - float(designDecoration.width()) - tolerance;
    const float height =
        leastOuterHeightTwips / twipsPerPixelY - float(designDecoration.height()) - tolerance;
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

} // namespace LayoutGeometry
