#include "ui/platform/Desktop.h"

#include "ui/platform/QtClipboard.h"
#include "ui/platform/windows/NotificationAreaIcon.h"
#include "ui/platform/windows/WindowsClipboard.h"

#include <QGuiApplication>

void prepareDesktop()
{
    // Qt's platform on Windows is the one there is.
}

std::unique_ptr<Clipboard> makeDesktopClipboard(QObject *parent)
{
    // Qt's test platforms keep a clipboard of their own, in the process.
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal"))
        return std::make_unique<QtClipboard>(parent);
    return std::make_unique<WindowsClipboard>(parent);
}

std::unique_ptr<TrayIcon> makeDesktopTrayIcon(QObject *parent)
{
    return std::make_unique<NotificationAreaIcon>(parent);
}
