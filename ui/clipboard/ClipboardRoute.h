#pragma once

#include <memory>

class Clipboard;
class QObject;

// The one place that knows how each desktop's clipboard is watched: through the compositor's data
// control on Wayland, over an X11 connection of the program's own on X11 (and on GNOME's Wayland,
// whose compositor hands every change to X11 programs), and through Qt alone elsewhere, where
// only copies made while the program's window has the focus reach it.

// Runs before the application object exists, while Qt's platform can still be chosen.
void prepareClipboardRoute();

// The clipboard the program watches and writes, once the application object exists.
std::unique_ptr<Clipboard> makeDesktopClipboard(QObject *parent = nullptr);
