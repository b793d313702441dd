#pragma once

#include "ui/platform/ScreenMetrics.h"

#include <QString>
#include <functional>

class Clipboard;
class Dialogs;
class HelpViewer;
class ProcessControl;
class TrayIcon;

// What the main window needs from the desktop, passed in so that tests can stand in for it.
struct Platform {
    Dialogs &dialogs;
    Clipboard &clipboard;
    TrayIcon &tray;
    HelpViewer &help;
    ProcessControl &process;
    std::function<ScreenMetrics()> screen;
    QString programFolder;
};
