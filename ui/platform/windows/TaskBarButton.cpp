#include "ui/platform/Desktop.h"

#include <QWidget>
#include <QWindow>

namespace
{

// Windows gives no task-bar button to a window that another window owns: a hidden window of the
// program's own owns the main window while the tray icon reaches it. (A tool window has none
// either, but Windows gives it a narrow title bar without minimize and maximize boxes.)
QWindow *hiddenOwnerOf(QWidget &window)
{
    auto *owner = window.findChild<QWindow *>(QStringLiteral("taskBarButtonOwner"),
                                              Qt::FindDirectChildrenOnly);
    if (!owner) {
        owner = new QWindow;
        owner->setObjectName(QStringLiteral("taskBarButtonOwner"));
        static_cast<QObject *>(owner)->setParent(&window);
        owner->create();
    }
    return owner;
}

} // namespace

void setTaskBarButton(QWidget &window, bool button)
{
    QWindow *wanted = button ? nullptr : hiddenOwnerOf(window);
    const bool retype = window.windowType() != Qt::Window;
    const QWindow *native = window.windowHandle();
    if (!retype && native && native->transientParent() == wanted)
        return;
    // Windows decides on the button when the window is shown.
    const bool shown = window.isVisible();
    if (shown)
        window.hide();
    if (retype)
        window.overrideWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    window.winId();
    window.windowHandle()->setFlags(window.windowFlags());
    window.windowHandle()->setTransientParent(wanted);
    if (shown)
        window.show();
}

bool hasTaskBarButton(const QWidget &window)
{
    const QWindow *native = window.windowHandle();
    return !native || !native->transientParent();
}
