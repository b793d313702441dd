#include "ui/frmClip.h"

#include "ui/LayoutGeometry.h"
#include "ui/platform/StatedWindowFrame.h"

#include <QMoveEvent>
#include <cmath>

namespace
{

QMargins marginsBetween(const QRect &inner, const QRect &outer)
{
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

} // namespace

bool frmClip::isFramed() const
{
    // While the window manager takes a window in, Qt may report for a moment a frame that does
    // not enclose the window (a 1 x 1 frame at the screen's corner): that is no frame yet.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (outer == inner || !outer.contains(inner))
        return false;
    // Nor is one that encloses it the wrong way: Qt may measure the frame window around the
    // window, which for a moment after the window manager has put the window into it holds the
    // window in its corner. Where the window manager states its frame, Qt's measure counts only
    // once it agrees.
    const std::optional<QMargins> stated = statedWindowFrame(windowHandle());
    return !stated || *stated == marginsBetween(inner, outer);
}

QMargins frmClip::windowFrame() const
{
    // Until the window manager has framed the window, its frame is taken to be the one the
    // stored sizes were made with.
    if (!isFramed())
        return LayoutGeometry::designFrame;
    return marginsBetween(geometry(), frameGeometry());
}

QRectF frmClip::outerRectTwips() const
{
    const ScreenMetrics screen = platform.screen();
    // The position is the frame's own, also before there is a frame; the size counts the frame.
    const QMargins frame = windowFrame();
    const QRect outer(frameGeometry().topLeft(), geometry().size().grownBy(frame));
    return QRectF(outer.x() * screen.twipsPerPixelX, outer.y() * screen.twipsPerPixelY,
                  outer.width() * screen.twipsPerPixelX, outer.height() * screen.twipsPerPixelY);
}

void frmClip::setOuterRectTwips(const QRectF &twips)
{
    const ScreenMetrics screen = platform.screen();
    // The position is the frame's, which the window manager honours before it has drawn one.
    const QRect outer(int(std::lround(twips.x() / screen.twipsPerPixelX)),
                      int(std::lround(twips.y() / screen.twipsPerPixelY)),
                      int(std::lround(twips.width() / screen.twipsPerPixelX)),
                      int(std::lround(twips.height() / screen.twipsPerPixelY)));
    move(outer.topLeft());
    m_pendingOuterRect = isFramed() ? QRect() : outer;
    const QMargins frame = windowFrame();
    resize(std::max(1, outer.width() - frame.left() - frame.right()),
           std::max(1, outer.height() - frame.top() - frame.bottom()));
}

void frmClip::completeOuterSize()
{
    // The size was set before the window manager's frame was known: once it is, the window is
    // sized again so that frame and window together have the size asked for, and a stored size
    // comes back unchanged.
    if (m_pendingOuterRect.isEmpty() || !isFramed())
        return;
    const QRect outer = m_pendingOuterRect;
    m_pendingOuterRect = QRect();
    const QMargins frame = windowFrame();
    // The place is asked for again with the size: Qt sends both together, and while the window
    // manager takes the window in, the place Qt holds may for a moment be the screen's corner.
    move(outer.topLeft());
    resize(std::max(1, outer.width() - frame.left() - frame.right()),
           std::max(1, outer.height() - frame.top() - frame.bottom()));
}

void frmClip::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    completeOuterSize();
}
