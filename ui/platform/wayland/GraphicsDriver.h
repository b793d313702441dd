#pragma once

// The program draws its widgets in memory and hands the compositor plain pixel buffers; it never
// uses OpenGL. Qt's Wayland platform nevertheless loads the graphics driver's EGL at start-up,
// which costs tens of megabytes of resident memory (50 MB with Mesa's software driver) for
// nothing. Runs before the application object exists.
void leaveGraphicsDriverUnloaded();
