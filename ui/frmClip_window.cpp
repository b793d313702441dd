#include "ui/frmClip.h"

#include "ui/LayoutGeometry.h"

#include <QMoveEvent>
#include <cmath>

bool frmClip::isFramed() const
{
    // While the window manager takes a window in, Qt may report for a moment a frame that does
    // not enclose the window (a 1 x 1 frame at the screen's corner): that is no frame yet.
    const QRect outer = frameGeometry();
    return outer != geometry() && outer.contains(geometry());
}

QMargins frmClip::windowFrame() const
{
    // Until the window manager has framed the window, its frame is taken to be the one the
    // stored sizes were made with.
    if (!isFramed())
        return LayoutGeometry::designFrame;
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
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
