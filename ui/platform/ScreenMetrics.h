#pragma once

// The primary screen's size and the twips (1/1440 inch) that one pixel spans on each axis.
struct ScreenMetrics {
    int widthPixels = 1024;
    int heightPixels = 768;
    float twipsPerPixelX = 15.0f;
    float twipsPerPixelY = 15.0f;

    float widthTwips() const { return float(widthPixels) * twipsPerPixelX; }
    float heightTwips() const { return float(heightPixels) * twipsPerPixelY; }

    static ScreenMetrics ofPrimaryScreen();
};
