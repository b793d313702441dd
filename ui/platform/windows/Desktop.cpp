#include "ui/platform/Desktop.h"

#include "ui/platform/QtClipboard.h"
#include "ui/platform/windows/NotificationAreaIcon.h"

void prepareDesktop()
{
    // Qt's platform on Windows is the one there is.
}

std::unique_ptr<Clipboard> makeDesktopClipboard(QObject *parent)
{
    // Windows tells every clipboard listener of each change, whether or not its window has the
    // focus, and Qt hands the formats that password managers set on to the program.
    return std::make_unique<QtClipboard>(parent);
}

std::unique_ptr<TrayIcon> makeDesktopTrayIcon(QObject *parent)
{
    return std::make_unique<NotificationAreaIcon>(parent);
}
