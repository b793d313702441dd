#include "ui/Dialogs.h"
#include "ui/HelpViewer.h"
#include "ui/TrayIcon.h"
#include "ui/frmClip.h"
#include "ui/frmVer.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

void frmClip::wireTray()
{
    connect(&platform.tray, &TrayIcon::mouseMessage, this,
            [this](int message) { Form_MouseMove(0, 0, float(message), 0); });
    connect(mnuHelp, &QAction::triggered, this, &frmClip::mnuHelp_Click);
    connect(mnuVer, &QAction::triggered, this, &frmClip::mnuVer_Click);
}

void frmClip::Form_MouseMove(int, int, float X, float)
{
    if (X == TrayMessage::LeftButtonUp) {
        if (!isVisible()) {
            show();
            SetTopmost(state.Settings[7]);
        }
    } else if (X == TrayMessage::RightButtonUp) {
        pop2->popup(QCursor::pos());
    }
}

void frmClip::SetTopmost(float topmost)
{
    const bool onTop = topmost == -1;
    const QRect frame = frameGeometry();
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) != onTop) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        move(frame.topLeft());
    }
    show();
}

void frmClip::mnuHelp_Click()
{
    SetTopmost(0);
    platform.help.showContents(state.HelpFilePath, this);
    SetTopmost(state.Settings[7]);
}

void frmClip::mnuVer_Click()
{
    SetTopmost(0);
    const ScreenMetrics screen = platform.screen();
    frmVer about(this, screen.twipsPerPixelX, screen.twipsPerPixelY);
    platform.dialogs.showModal(about);
    SetTopmost(state.Settings[7]);
}
