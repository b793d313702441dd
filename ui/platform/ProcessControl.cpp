#include "ui/platform/ProcessControl.h"

#include <cstdio>
#include <cstdlib>

void RealProcessControl::endProcess()
{
    if (m_beforeEnd)
        m_beforeEnd();
    std::fflush(nullptr);
    // No file stays open between events, so nothing is lost by skipping destructors, and skipping
    // them avoids tearing down Qt's threads while the application object is still alive.
    std::_Exit(0);
}
