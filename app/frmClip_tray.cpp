#include "ui/frmClip.h"
#include "ui/frmVer.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/HelpViewer.h"
#include "ui/platform/TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QWindow>

namespace
{

void setStaysOnTop(QWidget &window, bool onTop)
{
    const Qt::WindowFlags flags = onTop ? window.windowFlags() | Qt::WindowStaysOnTopHint
                                        : window.windowFlags() & ~Qt::WindowStaysOnTopHint;
    if (flags == window.windowFlags())
        return;
    // Through the native window the layer changes in place; setWindowFlags() would hide the
    // window and let the window manager place it anew.
    window.overrideWindowFlags(flags);
    if (QWindow *native = window.windowHandle())
        native->setFlags(flags);
}

// Qt passes the widget attribute on to the native window only when it makes one, and a later
// show reads the native window's own property: both are set together.
void setShowWithoutActivating(QWidget &window, bool on)
{
    window.setAttribute(Qt::WA_ShowWithoutActivating, on);
    if (QWindow *native = window.windowHandle())
        native->setProperty("_q_showWithoutActivating", on ? QVariant(true) : QVariant());
}

} // namespace

void frmClip::wireTray()
{
    connect(&platform.tray, &TrayIcon::mouseMessage, this,
            [this](int message) { Form_MouseMove(0, 0, float(message), 0); });
    connect(&platform.tray, &TrayIcon::availabilityChanged, this, &frmClip::followTray);
    connect(mnuHelp, &QAction::triggered, this, &frmClip::mnuHelp_Click);
    connect(mnuVer, &QAction::triggered, this, &frmClip::mnuVer_Click);
}

void frmClip::Form_MouseMove(int, int, float X, float)
{
    if (X == TrayMessage::LeftButtonUp) {
        // A minimized window counts as visible, yet the user cannot see it either.
        if (!isVisible() || isMinimized())
            showFromTray();
    } else if (X == TrayMessage::RightButtonUp) {
        pop2->popup(platform.tray.messagePosition());
    }
}

void frmClip::showFromTray()
{
    // The user asked for the window, so it takes the focus; SetTopmost alone never gives it.
    setShowWithoutActivating(*this, false);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    SetTopmost(state.Settings[7]);
    raise();
    activateWindow();
}

void frmClip::SetTopmost(float topmost)
{
    const bool onTop = topmost == -1;
    setShowWithoutActivating(*this, true);
    setStaysOnTop(*this, onTop);
    show();
    // The windows the main window owns, such as the help viewer, share its layer and stay in
    // front of it.
    for (QWidget *owned : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (owned->windowType() == Qt::Window && owned->isVisible()) {
            setStaysOnTop(*owned, onTop);
            owned->raise();
        }
    }
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
