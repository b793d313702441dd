#pragma once

#include <QList>
#include <QSystemTrayIcon>

// The mouse-message numbers (TrayMessage) that stand for one activation of Qt's tray icon, in
// order.
QList<int> trayMessagesFor(QSystemTrayIcon::ActivationReason reason);
