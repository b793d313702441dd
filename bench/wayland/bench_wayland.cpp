// The program as a user runs it on a Wayland desktop (WAYLAND_DISPLAY must name a compositor with
// data control, such as sway; bench/run starts a headless one): its memory at rest, the latency
// of a capture from another program's copy to the complete file, and its CPU while reading an
// unchanged clipboard. This process is the other program: it copies through the data control.
// Run: bench_wayland program [qt-platform]   (prints "name value unit" lines)
#include "CaptureWatch.h"
#include "Figure.h"
#include "ProcessFigures.h"
#include "Serving.h"
#include "ui/platform/wayland/WaylandSelectionChannel.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace std::chrono_literals;

namespace
{

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(fraction * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

// Copies the text and returns the milliseconds until its complete capture, or -1.
double copyAndTime(WaylandSelectionChannel &channel, CaptureWatch &watch, const QString &text)
{
    const auto copied = CaptureWatch::Clock::now();
    channel.setText(text);
    const auto arrivals = watch.take(1, 3s);
    if (arrivals.size() != 1 || fileContents(arrivals.front().path) != text.toUtf8() + "\r\n")
        return -1;
    return std::chrono::duration<double, std::milli>(arrivals.front().at - copied).count();
}

// Reading is switched on by the window's own shortcut, typed into it by wtype: sway gives a new
// window the focus.
bool switchReadingOn(WaylandSelectionChannel &channel, CaptureWatch &watch)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess::execute(QStringLiteral("wtype"),
                          {QStringLiteral("-s"), QStringLiteral("400"), QStringLiteral("-M"),
                           QStringLiteral("ctrl"), QStringLiteral("k"), QStringLiteral("-m"),
                           QStringLiteral("ctrl")});
        serveFor(500ms);
        if (copyAndTime(channel, watch, QStringLiteral("reading probe %1").arg(attempt)) >= 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_wayland program [qt-platform]\n");
        return 2;
    }
    WaylandSelectionChannel channel;
    if (!channel.isConnected()) {
        std::fprintf(stderr, "bench_wayland needs a compositor with data control\n");
        return 2;
    }
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("quillbox"));
    QFile::copy(QString::fromLocal8Bit(argv[1]), program);
    CaptureWatch watch(folder.path());
    QProcess quillbox;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QString::fromLocal8Bit(argc > 2 ? argv[2] : "wayland"));
    quillbox.setProcessEnvironment(environment);
    quillbox.start(program, {});
    if (!quillbox.waitForStarted() || !watch.isOpen())
        return 1;
    const pid_t pid = pid_t(quillbox.processId());
    serveFor(3s);
    const MemoryFigures rest = memoryOf(pid);
    printFigure("wayland_rss_at_rest", quillbox.state() == QProcess::Running ? rest.residentMb : 0,
                "MB");
    if (!switchReadingOn(channel, watch)) {
        std::fprintf(stderr, "reading could not be switched on: no capture of a copy\n");
        return 1;
    }
    std::vector<double> milliseconds;
    int complete = 0;
    for (int i = 0; i < 50; ++i) {
        const double took =
            copyAndTime(channel, watch, QStringLiteral("latency %1\nthe text of copy %1").arg(i));
        if (took >= 0) {
            milliseconds.push_back(took);
            ++complete;
        }
        serveFor(50ms);
    }
    if (milliseconds.empty())
        milliseconds.push_back(3000);
    printFigure("wayland_capture_latency_median", percentile(milliseconds, 0.5), "ms");
    printFigure("wayland_capture_latency_p99", percentile(milliseconds, 0.99), "ms");
    printFigure("wayland_capture_latency_complete_files", complete, "files");

    serveFor(1s);
    const double before = cpuSecondsOf(pid);
    serveFor(60s);
    printFigure("wayland_cpu_reading_unchanged", (cpuSecondsOf(pid) - before) / 60 * 100, "%");
    if (quillbox.state() != QProcess::Running)
        std::fprintf(stderr, "wayland_cpu_reading_unchanged: the program died\n");
    quillbox.kill();
    quillbox.waitForFinished();
    return 0;
}
