#include "ui/platform/ScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>

ScreenMetrics ScreenMetrics::ofPrimaryScreen()
{
    ScreenMetrics metrics;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return metrics;
    metrics.widthPixels = screen->size().width();
    metrics.heightPixels = screen->size().height();
    metrics.twipsPerPixelX = float(1440.0 / screen->logicalDotsPerInchX());
    metrics.twipsPerPixelY = float(1440.0 / screen->logicalDotsPerInchY());
    return metrics;
}
