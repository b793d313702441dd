#include "ui/frmClip.h"

#include "ui/LayoutGeometry.h"

#include <QMoveEvent>
#include <cmath>

QMargins frmClip::windowFrame() const
{
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    // Until the window manager has framed the window, its frame is taken to be the one the
    // stored sizes were made with.
    return frame.isNull() ? LayoutGeometry::designFrame : frame;
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
    const QSize outer(int(std::lround(twips.width() / screen.twipsPerPixelX)),
                      int(std::lround(twips.height() / screen.twipsPerPixelY)));
    // The position is the frame's, which the window manager honours before it has drawn one.
    move(int(std::lround(twips.x() / screen.twipsPerPixelX)),
         int(std::lround(twips.y() / screen.twipsPerPixelY)));
    const bool framed = frameGeometry() != geometry();
    m_pendingOuterSize = framed ? QSize() : outer;
    const QMargins frame = windowFrame();
    resize(std::max(1, outer.width() - frame.left() - frame.right()),
           std::max(1, outer.height() - frame.top() - frame.bottom()));
}

void frmClip::completeOuterSize()
{
    // The size was set before the window manager's frame was known: once it is, the window is
    // sized again so that frame and window together have the size asked for, and a stored size
    // comes back unchanged.
    if (m_pendingOuterSize.isEmpty() || frameGeometry() == geometry())
        return;
    const QSize outer = m_pendingOuterSize;
    m_pendingOuterSize = QSize();
    const QMargins frame = windowFrame();
    resize(std::max(1, outer.width() - frame.left() - frame.right()),
           std::max(1, outer.height() - frame.top() - frame.bottom()));
}

void frmClip::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    completeOuterSize();
}
