#include "ui/frmClip.h"

#include <cmath>

QRectF frmClip::outerRectTwips() const
{
    const ScreenMetrics screen = platform.screen();
    const QRect frame = frameGeometry();
    return QRectF(frame.x() * screen.twipsPerPixelX, frame.y() * screen.twipsPerPixelY,
                  frame.width() * screen.twipsPerPixelX, frame.height() * screen.twipsPerPixelY);
}

void frmClip::setOuterRectTwips(const QRectF &twips)
{
    const ScreenMetrics screen = platform.screen();
    // The decoration is known only once the window manager has framed the window.
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const int width = int(std::lround(twips.width() / screen.twipsPerPixelX));
    const int height = int(std::lround(twips.height() / screen.twipsPerPixelY));
    move(int(std::lround(twips.x() / screen.twipsPerPixelX)),
         int(std::lround(twips.y() / screen.twipsPerPixelY)));
    resize(std::max(1, width - frame.left() - frame.right()),
           std::max(1, height - frame.top() - frame.bottom()));
}
