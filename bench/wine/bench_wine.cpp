// Quillbox.exe of the Windows zip under Wine, on an X desktop (DISPLAY and a Wine prefix must be
// set up; bench/run makes both): the time from starting it to its window being shown, and the
// latency of a capture from an X11 program's copy to the complete file, through Wine's clipboard.
// Run: build-bench/bench/wine/bench_wine FOLDER   (the unpacked zip's folder of Quillbox.exe;
//   prints "name value unit" lines)
#include "CopyingScenes.h"
#include "MapWatch.h"
#include "Serving.h"
#include "Starting.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

namespace
{

using namespace std::chrono_literals;

const char *const programTitle = "Quillbox";
// Wine starts its server and its desktop with the first program: that start is not the user's.
constexpr int warmUpStarts = 1;
constexpr int measuredStarts = 5;

struct Program {
    QString wine;
    QString executable;
    QString folder;
};

Started start(MapWatch &watch, const Program &program)
{
    // Every start is a first start: the window shows where a missing ClipSet.ini puts it.
    QFile::remove(QDir(program.folder).filePath(QStringLiteral("ClipSet.ini")));
    return startAndWaitForWindow(watch, program.wine, {program.executable}, programTitle, 60s);
}

bool startupTimes(MapWatch &watch, const Program &program)
{
    std::vector<double> times;
    for (int i = 0; i < warmUpStarts + measuredStarts; ++i) {
        const Started started = start(watch, program);
        stop(started.pid);
        if (!started.window) {
            std::fprintf(stderr, "wine_startup_to_window_shown: no window within 60 s\n");
            return false;
        }
        if (i >= warmUpStarts)
            times.push_back(started.milliseconds);
    }
    printFigure("wine_startup_to_window_shown", median(times), "ms");
    printFigure("wine_startup_to_window_shown_slowest",
                *std::max_element(times.begin(), times.end()), "ms");
    return true;
}

bool captureLatency(MapWatch &watch, const Program &program)
{
    const Started started = start(watch, program);
    if (!started.window) {
        stop(started.pid);
        std::fprintf(stderr, "wine_capture_latency_median: no window within 60 s\n");
        return false;
    }
    CopyingScenes scenes(started.pid, program.folder, "wine_");
    scenes.expectWindowsLineEnds();
    serveFor(2s);
    const bool reading = scenes.isReady() && scenes.switchReadingOn(started.window);
    if (reading)
        scenes.latency(50);
    else
        std::fprintf(stderr, "wine_capture_latency_median: reading could not be switched on\n");
    stop(started.pid);
    return reading;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || argc < 2) {
        std::fprintf(stderr, "usage: bench_wine FOLDER, on an X display (QT_QPA_PLATFORM=xcb)\n");
        return 2;
    }
    const Program program{
        QStandardPaths::findExecutable(QStringLiteral("wine")),
        QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("Quillbox.exe")),
        QString::fromLocal8Bit(argv[1])};
    MapWatch watch;
    if (program.wine.isEmpty() || !QFile::exists(program.executable) || !watch.isOpen()) {
        std::fprintf(stderr, "bench_wine needs wine, Quillbox.exe in FOLDER and an X display\n");
        return 2;
    }
    return startupTimes(watch, program) && captureLatency(watch, program) ? 0 : 1;
}
