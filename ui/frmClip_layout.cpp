#include "ui/frmClip.h"

#include <QResizeEvent>

void frmClip::wireLayout() {}

void frmClip::ArrangeControls() {}

void frmClip::Form_Resize() {}

void frmClip::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}
