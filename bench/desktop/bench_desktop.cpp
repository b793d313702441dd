// The program as a user runs it on an X desktop (DISPLAY must be set; bench/run starts a private
// one): the time from exec to its window being shown, its memory at rest, after many captures and
// beside a large clipboard text, its CPU while reading an unchanged clipboard, and the latency of
// a capture from another program's copy to the complete file. The same figures of a bare Qt
// window show what the toolkit alone costs.
// Run: build-bench/bench/desktop/bench_desktop [program [slow-owner]]
//   (prints "name value unit" lines)
#include "CopyingScenes.h"
#include "LargeCopies.h"
#include "MapWatch.h"
#include "ProcessFigures.h"
#include "Serving.h"
#include "Starting.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

using namespace std::chrono_literals;

const char *const programTitle = "Quillbox";
const char *const bareTitle = "bare Qt window";

// The program keeps its settings and, by default, its captures beside itself: each start gets a
// folder of its own with a copy of the executable.
QString copyProgramInto(const QTemporaryDir &folder, const QString &program)
{
    const QString copy = folder.filePath(QStringLiteral("quillbox"));
    QFile::copy(program, copy);
    return copy;
}

bool startupTimes(MapWatch &watch, const QString &program, int starts)
{
    std::vector<double> times;
    for (int i = 0; i < starts; ++i) {
        QTemporaryDir folder;
        const Started started =
            startAndWaitForWindow(watch, copyProgramInto(folder, program), {}, programTitle);
        stop(started.pid);
        if (!started.window) {
            std::fprintf(stderr, "the program's window was not shown within 10 s\n");
            return false;
        }
        times.push_back(started.milliseconds);
    }
    printFigure("startup_to_window_shown", median(times), "ms");
    printFigure("startup_to_window_shown_slowest", *std::max_element(times.begin(), times.end()),
                "ms");
    return true;
}

bool bareWindow(MapWatch &watch, const QString &self)
{
    std::vector<double> times;
    MemoryFigures memory;
    for (int i = 0; i < 5; ++i) {
        const Started started =
            startAndWaitForWindow(watch, self, {QStringLiteral("--bare-window")}, bareTitle);
        if (!started.window) {
            stop(started.pid);
            std::fprintf(stderr, "the bare Qt window was not shown within 10 s\n");
            return false;
        }
        times.push_back(started.milliseconds);
        if (i == 0) {
            QThread::sleep(3);
            memory = memoryOf(started.pid);
        }
        stop(started.pid);
    }
    printFigure("bare_qt_window_startup", median(times), "ms");
    printFigure("bare_qt_window_rss", memory.residentMb, "MB");
    printFigure("bare_qt_window_private", memory.privateMb, "MB");
    return true;
}

bool residentProgram(MapWatch &watch, const QString &program, const QString &owner)
{
    QTemporaryDir folder;
    const Started started =
        startAndWaitForWindow(watch, copyProgramInto(folder, program), {}, programTitle);
    if (!started.window) {
        stop(started.pid);
        std::fprintf(stderr, "the program's window was not shown within 10 s\n");
        return false;
    }
    CopyingScenes scenes(started.pid, folder.path());
    serveFor(3s);
    const MemoryFigures rest = memoryOf(started.pid);
    printFigure("rss_at_rest", rest.residentMb, "MB");
    printFigure("private_at_rest", rest.privateMb, "MB");
    if (!scenes.isReady() || !scenes.switchReadingOn(started.window)) {
        stop(started.pid);
        std::fprintf(stderr, "reading could not be switched on: no capture of a copy\n");
        return false;
    }
    scenes.idleCpu("cpu_reading_unchanged_short_text", 60s);
    scenes.latency(50);
    scenes.burst("burst_10_copies_50ms_apart", 10, 50ms);
    scenes.burst("burst_10_copies_10ms_apart", 10, 10ms);
    scenes.memoryAfterCaptures(1000);
    scenes.memoryWithLargeText(5 * 1000 * 1000);
    scenes.idleCpu("cpu_reading_unchanged_5mb_text", 60s);
    LargeCopies large(started.pid, started.window, folder.path());
    if (!large.isReady()) {
        stop(started.pid);
        std::fprintf(stderr, "large copies: no X display or no watch on the capture folder\n");
        return false;
    }
    large.measure("1mb", 1000 * 1000, false);
    large.measure("5mb", 5 * 1000 * 1000, false);
    large.measure("20mb", 20 * 1000 * 1000, true);
    if (!owner.isEmpty())
        large.measureArrival(owner);
    stop(started.pid);
    return true;
}

int showBareWindow(QApplication &app)
{
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(bareTitle));
    window.resize(512, 384);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--bare-window")))
        return showBareWindow(app);
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        std::fprintf(stderr, "bench_desktop needs an X display (QT_QPA_PLATFORM=xcb)\n");
        return 2;
    }
    const QString program =
        arguments.size() > 1 ? arguments.at(1) : QString::fromUtf8(QUILLBOX_PROGRAM);
    // A clipboard owner that reports when it has handed a text over (tests/e2e/slow_owner).
    const QString owner = arguments.size() > 2 ? arguments.at(2) : QString();
    MapWatch watch;
    if (!watch.isOpen()) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    const bool ran = startupTimes(watch, program, 9) &&
                     bareWindow(watch, QCoreApplication::applicationFilePath()) &&
                     residentProgram(watch, program, owner);
    return ran ? 0 : 1;
}
