#include "CopyingScenes.h"

#include "ProcessFigures.h"
#include "Serving.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <vector>

namespace
{

using Clock = CaptureWatch::Clock;

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(fraction * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

QString largeText(qsizetype size)
{
    const QString line =
        QStringLiteral("会議メモ: the review starts at ten, room 4B. ABCDEFGHIJ\n");
    QString text = QStringLiteral("large text\n");
    text.reserve(size + line.size());
    while (text.size() < size)
        text.append(line);
    text.truncate(size);
    return text;
}

} // namespace

CopyingScenes::CopyingScenes(pid_t program, const QString &captureFolder, const char *prefix)
    : m_program(program), m_prefix(prefix), m_watch(captureFolder)
{
}

QByteArray CopyingScenes::captureBytes(const QString &text) const
{
    QString copied = text;
    if (m_windowsLineEnds)
        copied.replace(u'\n', QStringLiteral("\r\n"));
    return copied.toUtf8() + QByteArrayLiteral("\r\n");
}

QByteArray CopyingScenes::nameOf(const char *figure) const
{
    return QByteArray(m_prefix) + figure;
}

bool CopyingScenes::switchReadingOn(unsigned long window)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                           QString::number(window), QStringLiteral("key"),
                           QStringLiteral("--clearmodifiers"), QStringLiteral("ctrl+k")});
        // Switching on empties the clipboard: the probe must come after that.
        serveFor(std::chrono::milliseconds(500));
        if (copyAndAwait(QStringLiteral("reading probe %1").arg(attempt), std::chrono::seconds(3)))
            return true;
    }
    return false;
}

bool CopyingScenes::copyAndAwait(const QString &text, std::chrono::milliseconds timeout)
{
    QGuiApplication::clipboard()->setText(text);
    const auto arrivals = m_watch.take(1, timeout);
    return arrivals.size() == 1 && fileContents(arrivals.front().path) == captureBytes(text);
}

int CopyingScenes::capturesOf(const QList<QString> &texts,
                              const QList<CaptureWatch::Arrival> &arrivals)
{
    int found = 0;
    for (const QString &text : texts) {
        const QByteArray expected = captureBytes(text);
        found += int(std::any_of(arrivals.begin(), arrivals.end(), [&](const auto &arrival) {
            return fileContents(arrival.path) == expected;
        }));
    }
    return found;
}

void CopyingScenes::latency(int copies)
{
    std::vector<double> milliseconds;
    int complete = 0;
    for (int i = 0; i < copies; ++i) {
        const QString text = QStringLiteral("latency %1\nthe text of copy %1").arg(++m_serial);
        const auto copied = Clock::now();
        QGuiApplication::clipboard()->setText(text);
        const auto arrivals = m_watch.take(1, std::chrono::seconds(3));
        if (arrivals.size() == 1) {
            milliseconds.push_back(
                std::chrono::duration<double, std::milli>(arrivals.front().at - copied).count());
            complete += int(fileContents(arrivals.front().path) == captureBytes(text));
        }
        // Lets the tick end before the next copy, as a user's next copy would.
        serveFor(std::chrono::milliseconds(50));
    }
    if (milliseconds.empty())
        milliseconds.push_back(3000);
    printFigure(nameOf("capture_latency_median"), percentile(milliseconds, 0.5), "ms");
    printFigure(nameOf("capture_latency_p99"), percentile(milliseconds, 0.99), "ms");
    printFigure(nameOf("capture_latency_complete_files"), complete, "files");
}

void CopyingScenes::burst(const char *name, int copies, std::chrono::milliseconds apart)
{
    QList<QString> texts;
    for (int i = 0; i < copies; ++i) {
        texts.append(QStringLiteral("burst %1\ncopied in a quick row").arg(++m_serial));
        QGuiApplication::clipboard()->setText(texts.back());
        serveFor(apart);
    }
    const auto arrivals = m_watch.take(copies, std::chrono::seconds(3));
    printFigure(name, capturesOf(texts, arrivals), "files");
    serveFor(std::chrono::milliseconds(200));
    m_watch.take(copies, std::chrono::milliseconds(0));
}

void CopyingScenes::memoryAfterCaptures(int captures)
{
    int complete = 0;
    for (int i = 0; i < captures; ++i)
        complete +=
            int(copyAndAwait(QStringLiteral("many %1\nthe text of capture %1").arg(++m_serial),
                             std::chrono::seconds(3)));
    serveFor(std::chrono::seconds(1));
    printFigure("captures_1000_complete_files", complete, "files");
    printFigure("rss_after_1000_captures", memoryOf(m_program).residentMb, "MB");
}

void CopyingScenes::memoryWithLargeText(qsizetype size)
{
    const bool captured = copyAndAwait(largeText(size), std::chrono::seconds(10));
    serveFor(std::chrono::seconds(1));
    printFigure("capture_5mb_complete", captured ? 1 : 0, "flag");
    printFigure("rss_with_5mb_clipboard", memoryOf(m_program).residentMb, "MB");
}

void CopyingScenes::idleCpu(const char *name, std::chrono::seconds span)
{
    serveFor(std::chrono::seconds(1));
    const double before = cpuSecondsOf(m_program);
    serveFor(span);
    const double used = cpuSecondsOf(m_program) - before;
    printFigure(name, used / double(span.count()) * 100, "%");
    // A program that has died uses no CPU either: its row must not pass for an idle one.
    if (::kill(m_program, 0) != 0)
        std::fprintf(stderr, "%s: the program died\n", name);
}
