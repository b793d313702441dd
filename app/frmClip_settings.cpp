#include "ui/frmClip.h"

#include <QAction>
#include <QScrollBar>
#include <cmath>

void frmClip::wireSettings() {}

void frmClip::LoadSettings()
{
    const ScreenMetrics screen = platform.screen();
    auto &s = state.Settings;
    s[0] = std::floor(screen.widthTwips() / 4);
    s[1] = std::floor(screen.heightTwips() / 4);
    s[2] = std::floor(screen.widthTwips() / 2);
    s[3] = std::floor(screen.heightTwips() / 2);
    s[4] = s[2] / 2 / screen.twipsPerPixelX;
    s[5] = s[3] / 2 / screen.twipsPerPixelY;
    s[6] = -1;
    s[7] = -1;
    s[8] = 0;
    s[9] = -1;
    s[10] = 12;
}

void frmClip::ApplySettings()
{
    const auto &s = state.Settings;
    setOuterRectTwips(QRectF(s[0], s[1], s[2], s[3]));
    vscNameLen->setValue(int(std::nearbyint(s[10])));
    if (s[6] != 0) {
        show();
        SetTopmost(s[7]);
    } else {
        hide();
    }
    ApplyReadingState(Reading);
}

void frmClip::ShowOptionChecks()
{
    for (int index = 6; index <= 9; ++index)
        mnuSet(index)->setChecked(state.Settings[index] != 0);
}
