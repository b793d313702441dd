#include "ui/platform/Desktop.h"

#include <QWidget>
#include <QWindow>

// A tool window has no task-bar button.
void setTaskBarButton(QWidget &window, bool button)
{
    const Qt::WindowType type = button ? Qt::Window : Qt::Tool;
    if (window.windowType() == type)
        return;
    // The window manager reads the type when the window is mapped. Set through the native
    // window rather than with setWindowFlags(), the type changes and the window keeps its place.
    const bool shown = window.isVisible();
    if (shown)
        window.hide();
    window.overrideWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | type);
    if (QWindow *native = window.windowHandle())
        native->setFlags(window.windowFlags());
    if (shown)
        window.show();
}

bool hasTaskBarButton(const QWidget &window)
{
    return window.windowType() != Qt::Tool;
}
