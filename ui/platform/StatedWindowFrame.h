#pragma once

#include <QMargins>
#include <optional>

class QWindow;

// The frame an X11 window manager says it has put around the window (its _NET_FRAME_EXTENTS), as
// the window manager holds it now. Nothing where no such statement can be read: on another
// platform, for a window not made yet, or before the window manager has framed it.
std::optional<QMargins> statedWindowFrame(const QWindow *window);
