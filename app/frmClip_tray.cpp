#include "ui/Dialogs.h"
#include "ui/HelpViewer.h"
#include "ui/TrayIcon.h"
#include "ui/frmClip.h"
#include "ui/frmVer.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QWindow>

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
    const Qt::WindowFlags flags = topmost == -1 ? windowFlags() | Qt::WindowStaysOnTopHint
                                                : windowFlags() & ~Qt::WindowStaysOnTopHint;
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (flags != windowFlags()) {
        // Through the native window the layer changes in place; setWindowFlags() would hide the
        // window and let the window manager place it anew.
        overrideWindowFlags(flags);
        if (QWindow *native = windowHandle())
            native->setFlags(flags);
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
