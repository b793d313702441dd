#include "ui/platform/Desktop.h"

#include "ui/platform/freedesktop/QtTrayIcon.h"
#include "ui/platform/linux/ClipboardRoute.h"
#include "ui/platform/wayland/GraphicsDriver.h"

void prepareDesktop()
{
    prepareClipboardRoute();
    leaveGraphicsDriverUnloaded();
}

std::unique_ptr<TrayIcon> makeDesktopTrayIcon(QObject *parent)
{
    return std::make_unique<QtTrayIcon>(parent);
}
