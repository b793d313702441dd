#include "ui/platform/TrayActivations.h"

#include "ui/platform/TrayIcon.h"

QList<int> trayMessagesFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {TrayMessage::LeftButtonDown, TrayMessage::LeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
        // The second click of a double click is released too, and reported as such.
        return {TrayMessage::LeftDoubleClick, TrayMessage::LeftButtonUp};
    case QSystemTrayIcon::Context:
        return {TrayMessage::RightButtonDown, TrayMessage::RightButtonUp};
    default:
        return {};
    }
}
