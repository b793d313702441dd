#pragma once

#include <memory>

class Clipboard;
class QObject;
class QWidget;
class TrayIcon;

// What the program takes from the desktop it runs on; each system's folder makes its own.

// Runs before the application object exists, while Qt's platform can still be chosen.
void prepareDesktop();

// The clipboard the program watches and writes, once the application object exists.
std::unique_ptr<Clipboard> makeDesktopClipboard(QObject *parent = nullptr);

std::unique_ptr<TrayIcon> makeDesktopTrayIcon(QObject *parent = nullptr);

// Gives the window a task-bar button, or takes it away while the tray icon reaches the program.
// The window keeps its place and, if it is shown, stays shown.
void setTaskBarButton(QWidget &window, bool button);
bool hasTaskBarButton(const QWidget &window);
