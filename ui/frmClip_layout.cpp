#include "ui/frmClip.h"

#include "ui/LayoutGeometry.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/LineControl.h"
#include "ui/widgets/SplitterBar.h"
#include "ui/widgets/TextBox.h"

#include <QLabel>
#include <QLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <cmath>

namespace
{

QRect onPixels(const QRectF &box)
{
    return QRect(int(std::lround(box.left())), int(std::lround(box.top())),
                 int(std::lround(box.width())), int(std::lround(box.height())));
}

} // namespace

void frmClip::wireLayout()
{
    const ScreenMetrics screen = platform.screen();
    for (ImageArea *handle : {imgSS, imgSS1})
        handle->setTwipsPerPixel(screen.twipsPerPixelX, screen.twipsPerPixelY);
    // The ghost bar lies under the pointer while it is dragged; it keeps the handle's pointer.
    picSS->setCursor(imgSS->cursor());
    picSS1->setCursor(imgSS1->cursor());
    client->setMinimumSize(leastClientSize());

    connect(imgSS, &ImageArea::mouseDown, this, &frmClip::imgSS_MouseDown);
    connect(imgSS, &ImageArea::mouseMove, this, &frmClip::imgSS_MouseMove);
    connect(imgSS, &ImageArea::mouseUp, this, &frmClip::imgSS_MouseUp);
    connect(imgSS1, &ImageArea::mouseDown, this, &frmClip::imgSS1_MouseDown);
    connect(imgSS1, &ImageArea::mouseMove, this, &frmClip::imgSS1_MouseMove);
    connect(imgSS1, &ImageArea::mouseUp, this, &frmClip::imgSS1_MouseUp);
}

QSize frmClip::leastClientSize() const
{
    const ScreenMetrics screen = platform.screen();
    // The tool strip is never laid out anew, so the window stays wide enough to show all of it.
    const int toolStripWidth = vscNameLen->geometry().right() + 1;
    return LayoutGeometry::leastClientSize(screen.twipsPerPixelX, screen.twipsPerPixelY)
        .expandedTo(QSize(toolStripWidth, 0));
}

QSizeF frmClip::leastOuterSizeTwips() const
{
    const ScreenMetrics screen = platform.screen();
    const QSizeF outer = LayoutGeometry::outerSize(QSizeF(leastClientSize()));
    return QSizeF(outer.width() * screen.twipsPerPixelX, outer.height() * screen.twipsPerPixelY);
}

QSizeF frmClip::layoutOuterSize()
{
    // A hidden window's layout does not follow a resize until it is shown.
    if (!isVisible()) {
        layout()->invalidate();
        layout()->activate();
    }
    return LayoutGeometry::outerSize(QSizeF(client->size()));
}

void frmClip::ArrangeControls()
{
    const QSizeF outer = layoutOuterSize();
    LayoutGeometry::Input input;
    input.W = float(outer.width());
    input.H = float(outer.height());
    input.X = picSS->left();
    input.Y = picSS1->top();
    input.S = state.Settings[9];

    const QSizeF clientSize(client->size());
    input.D = LayoutGeometry::askedFolderListHeight(input);
    dirText->setGeometry(
        onPixels(LayoutGeometry::keptInside(LayoutGeometry::arrange(input), clientSize).dirText));
    input.D = float(dirText->height());

    const LayoutGeometry::Boxes boxes =
        LayoutGeometry::keptInside(LayoutGeometry::arrange(input), clientSize);
    picSS1->setWidth(boxes.picSS1Width);
    picSS->setHeight(boxes.picSSHeight);
    dirText->setGeometry(onPixels(boxes.dirText));
    flbText->setGeometry(onPixels(boxes.flbText));
    if (boxes.imgSt) {
        imgSt->show();
        imgSt->setGeometry(onPixels(*boxes.imgSt));
    } else {
        imgSt->hide();
    }
    imgSS->setGeometry(onPixels(boxes.imgSS));
    imgSS1->setGeometry(onPixels(boxes.imgSS1));
    txtText->setGeometry(onPixels(boxes.txtText));
    for (LineControl *line : Line1)
        line->setX2(boxes.lineEnd);
    for (std::size_t i = 0; i < lblST.size(); ++i)
        lblST[i]->setGeometry(onPixels(boxes.lblST[i]));
}

void frmClip::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize least = leastClientSize();
    layoutOuterSize();
    const QSize now = client->size();
    // The minimum size keeps a user from dragging the window smaller; a window manager that
    // ignores it gets the window back at the least size.
    if (now.width() < least.width() || now.height() < least.height())
        resize(width() + std::max(0, least.width() - now.width()),
               height() + std::max(0, least.height() - now.height()));

    const QSizeF outer = LayoutGeometry::outerSize(QSizeF(now.expandedTo(least)));
    const float greatestX = float(outer.width()) - LayoutGeometry::verticalSplitterMargin;
    if (greatestX < picSS->left())
        picSS->setLeft(greatestX);
    const float greatestY = float(outer.height()) - LayoutGeometry::horizontalSplitterMargin;
    if (greatestY < picSS1->top())
        picSS1->setTop(greatestY);
    ArrangeControls();
    txtText_Change();
}

void frmClip::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    completeOuterSize();
    Form_Resize();
}
