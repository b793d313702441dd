#include "ui/frmClip.h"

#include "ui/LayoutGeometry.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/SplitterBar.h"

// Between a press on a handle and the release, Qt sends every pointer event to the handle, also
// where the pointer has left it. The content stays put during a drag; only the ghost bar moves.

void frmClip::imgSS_MouseDown(int, int, float, float)
{
    DragSS = true;
    picSS->raise();
    picSS->show();
}

void frmClip::imgSS_MouseMove(int, int, float X, float)
{
    if (!DragSS)
        return;
    const float x = X / platform.screen().twipsPerPixelX + float(imgSS->x());
    const float W = float(layoutOuterSize().width());
    picSS->setLeft(LayoutGeometry::heldBetween(x, LayoutGeometry::verticalSplitterMargin,
                                               W - LayoutGeometry::verticalSplitterMargin));
}

void frmClip::imgSS_MouseUp(int, int, float, float)
{
    DragSS = false;
    picSS->hide();
    ArrangeControls();
}

void frmClip::imgSS1_MouseDown(int, int, float, float)
{
    DragSS1 = -1;
    picSS1->raise();
    picSS1->show();
}

void frmClip::imgSS1_MouseMove(int, int, float, float Y)
{
    if (DragSS1 == 0)
        return;
    const float y = Y / platform.screen().twipsPerPixelY + float(imgSS1->y());
    const float H = float(layoutOuterSize().height());
    picSS1->setTop(LayoutGeometry::heldBetween(y, LayoutGeometry::horizontalSplitterMargin,
                                               H - LayoutGeometry::horizontalSplitterMargin));
}

void frmClip::imgSS1_MouseUp(int, int, float, float)
{
    DragSS1 = 0;
    picSS1->hide();
    ArrangeControls();
}
