#pragma once

#include <QMargins>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <array>
#include <optional>

// The main window's content layout as a plain function of the window's size and the two
// splitter positions. Every value is in pixels of the client area below the menu bar, except the
// outer size, which the margins of the layout are measured from.
namespace LayoutGeometry
{

// The content area and its bars.
constexpr float contentTop = 40;
constexpr float verticalBarWidth = 3;
constexpr float horizontalBarHeight = 4;
constexpr float progressFrameHeight = 12;
constexpr float titleTop = 24;
constexpr float titleHeight = 17;

// Margins taken off the outer size.
constexpr float paneBottomMargin = 45;
constexpr float fileListBottomMargin = 42;
constexpr float progressFrameAllowance = 16;
constexpr float progressFrameBottomMargin = 58;
constexpr float paneRightMargin = 8;

// What a drag (and a shrinking window) leaves between a splitter and the window's edges.
constexpr float verticalSplitterMargin = 80;
constexpr float horizontalSplitterMargin = 60;

// The least outer size, in twips.
constexpr float leastOuterWidthTwips = 3225;
constexpr float leastOuterHeightTwips = 2300;

// The margins above are measured off the outer size of the window the layout was drawn for: a
// 4-pixel sizing border on each side, a 19-pixel title bar and a 19-pixel menu bar. Adding that
// same decoration to our client area gives the intended margins whatever the window manager's
// own frame is, and keeps the pane flush with the client area's right and bottom edges.
constexpr int designBorder = 4;
constexpr int designTitleBar = 19;
constexpr int designMenuBar = 19;
constexpr QMargins designFrame(designBorder, designBorder + designTitleBar, designBorder,
                               designBorder);
constexpr QSizeF designDecoration(2 * designBorder,
                                  2 * designBorder + designTitleBar + designMenuBar);

struct Input {
    float W = 0; // outer width
    float H = 0; // outer height
    float X = 0; // left edge of the vertical splitter bar
    float Y = 0; // top edge of the horizontal splitter bar
    float S = 0; // the reading-state option: non-zero shows the progress frame
    float D = 0; // the height the folder list settled on
};

struct Boxes {
    QRectF dirText;
    QRectF flbText;
    std::optional<QRectF> imgSt; // empty: hidden, its geometry left alone
    float picSSHeight = 0;
    float picSS1Width = 0;
    QRectF imgSS;
    QRectF imgSS1;
    QRectF txtText;
    float lineEnd = 0;
    std::array<QRectF, 2> lblST;
};

// A splitter position held within its drag limits; the lower limit wins when the window is too
// small for both, and a position that is not a number is taken as the lower limit.
float heldBetween(float position, float least, float greatest);

// The splitter positions the layout is built around. A stored position that no drag can give is
// read as the nearest drag limit, so that no control gets a negative size and both handles stay
// within reach.
float layoutX(const Input &input);
float layoutY(const Input &input);

// The height the folder list is asked for; the list may settle on another one (Input::D).
float askedFolderListHeight(const Input &input);

Boxes arrange(const Input &input);

// The boxes cut to the client area, so that nothing reaches past the window's edges.
Boxes keptInside(const Boxes &boxes, const QSizeF &client);

// The outer size, in pixels, of a client area of this size.
QSizeF outerSize(const QSizeF &client);

// The least client area: the least outer size less the decoration, in whole pixels.
QSize leastClientSize(float twipsPerPixelX, float twipsPerPixelY);

} // namespace LayoutGeometry
