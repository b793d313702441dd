#include "LargeCopies.h"

#include "Figure.h"
#include "ProcessFigures.h"
#include "Serving.h"
#include "WindowLateness.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <X11/Xlib.h>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace std::chrono_literals;

namespace
{

QByteArray textOf(qsizetype bytes, int serial)
{
    QByteArray text = "large copy " + QByteArray::number(serial) + '\n';
    const QByteArray line =
        "the review starts at ten in room 4B; bring the figures of the last quarter.  xx\n";
    text.reserve(bytes);
    while (text.size() + line.size() <= bytes)
        text.append(line);
    text.append(line.left(bytes - text.size()));
    return text;
}

// A window that answered no ping at all was not measured: the figure would be the whole span.
void reportSilence(const WindowLateness &pings, const char *figure)
{
    if (pings.answered() == 0)
        std::fprintf(stderr, "%s: the window answered no ping\n", figure);
}

} // namespace

LargeCopies::LargeCopies(pid_t program, unsigned long window, const QString &captureFolder)
    : m_program(program), m_window(window), m_folder(captureFolder), m_watch(captureFolder),
      m_display(XOpenDisplay(nullptr))
{
    if (m_display)
        m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
}

LargeCopies::~LargeCopies()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool LargeCopies::isReady() const
{
    return m_display && m_watch.isOpen();
}

bool LargeCopies::waitForOwnerChange(unsigned long previous)
{
    const auto deadline = CaptureWatch::Clock::now() + 5s;
    while (CaptureWatch::Clock::now() < deadline) {
        if (XGetSelectionOwner(m_display, m_clipboard) != previous)
            return true;
        QThread::usleep(200);
    }
    return false;
}

double LargeCopies::copyAndTime(const QByteArray &text)
{
    QTemporaryFile file;
    if (!file.open() || file.write(text) != text.size() || !file.flush())
        return -1;
    const unsigned long previous = XGetSelectionOwner(m_display, m_clipboard);
    QProcess xclip;
    xclip.setStandardInputFile(file.fileName());
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                          QStringLiteral("clipboard"), QStringLiteral("-i")});
    double milliseconds = -1;
    if (xclip.waitForStarted() && waitForOwnerChange(previous)) {
        const auto owned = CaptureWatch::Clock::now();
        const auto arrivals = m_watch.take(1, 20s);
        if (arrivals.size() == 1 && fileContents(arrivals.front().path) == text + "\r\n")
            milliseconds =
                std::chrono::duration<double, std::milli>(arrivals.front().at - owned).count();
    }
    // xclip serves until a later copy takes over; the next copy must not find it still there.
    xclip.kill();
    xclip.waitForFinished();
    m_watch.take(0, 0ms);
    return milliseconds;
}

void LargeCopies::measure(const char *name, qsizetype bytes, bool lateness)
{
    std::vector<double> times;
    WindowLateness pings(m_window);
    if (lateness)
        resetPeakMemory(m_program);
    double longest = 0;
    int complete = 0;
    for (int copy = 0; copy < 5; ++copy) {
        const QByteArray text = textOf(bytes, ++m_serial);
        if (lateness)
            pings.start();
        const double milliseconds = copyAndTime(text);
        if (lateness) {
            pings.stop();
            longest = std::max(longest, pings.longestMs());
            reportSilence(pings, "window_lateness_copy_to_file_20mb");
        }
        if (milliseconds >= 0) {
            times.push_back(milliseconds);
            ++complete;
        }
    }
    std::sort(times.begin(), times.end());
    const QByteArray figure = QByteArray("copy_to_file_") + name;
    printFigure(figure.constData(), times.empty() ? 20000 : times[times.size() / 2], "ms");
    printFigure((figure + "_complete").constData(), complete, "files");
    if (lateness) {
        printFigure("window_lateness_copy_to_file_20mb", pings.isOpen() ? longest : 20000, "ms");
        printFigure("peak_rss_capturing_20mb", peakMemoryOf(m_program), "MB");
    }
}

void LargeCopies::measureArrival(const QString &owner)
{
    double longest = 0;
    int arrived = 0;
    for (int copy = 0; copy < 5; ++copy) {
        QTemporaryFile file;
        const QByteArray text = textOf(20 * 1000 * 1000, ++m_serial);
        if (!file.open() || file.write(text) != text.size() || !file.flush())
            break;
        WindowLateness pings(m_window);
        QProcess process;
        // Pieces of 256 KiB without a pause: as fast as the program takes them.
        process.start(owner, {file.fileName(), QStringLiteral("262144"), QStringLiteral("0")});
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
            const QByteArray said = process.readAllStandardOutput();
            if (said.contains("owned"))
                pings.start();
            // The owner says when it handed the last piece over, by the clock this process
            // reads too: the tick that follows the arrival is not part of it.
            const qsizetype done = said.indexOf("done ");
            if (done >= 0) {
                pings.stop();
                const auto end = WindowLateness::Clock::time_point(
                    WindowLateness::Clock::duration(said.mid(done + 5).trimmed().toLongLong()));
                longest = std::max(longest, pings.longestMsUntil(end));
                reportSilence(pings, "window_lateness_while_20mb_arrives");
                ++arrived;
            }
        });
        const auto arrivals = m_watch.take(1, 20s);
        if (arrivals.size() != 1 || fileContents(arrivals.front().path) != text + "\r\n")
            std::fprintf(stderr, "window_lateness_while_20mb_arrives: copy %d not captured whole\n",
                         copy);
        process.kill();
        process.waitForFinished();
        m_watch.take(0, 0ms);
    }
    printFigure("window_lateness_while_20mb_arrives", arrived == 5 ? longest : 20000, "ms");
}
