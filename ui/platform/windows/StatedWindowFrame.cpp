#include "ui/platform/StatedWindowFrame.h"

std::optional<QMargins> statedWindowFrame(const QWindow *)
{
    // Windows frames a window in the call that makes it, so the frame Qt measures is already the
    // window's own: there is nothing else to wait for.
    return std::nullopt;
}
