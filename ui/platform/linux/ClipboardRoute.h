#pragma once

// The one place that knows how each Linux desktop's clipboard is watched: through the
// compositor's data control on Wayland, over an X11 connection of the program's own on X11 (and on
// GNOME's Wayland, whose compositor hands every change to X11 programs), and through Qt alone
// elsewhere, where only copies made while the program's window has the focus reach it. Its
// makeDesktopClipboard() is the one Desktop.h declares.

// Runs before the application object exists, while Qt's platform can still be chosen.
void prepareClipboardRoute();
