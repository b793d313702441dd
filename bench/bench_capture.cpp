// The capture tick in the program's own process, on the offscreen platform: the cost of a tick
// that finds the same 1 MB text again, a capture of a 10 MB text, and 1,000 captures whose texts
// share their first line ("memo", "memo 1", ... "memo 999").
// Run: build/bench/bench_capture   (prints "name value unit" lines)
#include "app/ProgramState.h"
#include "app/QtHelpViewer.h"
#include "ui/frmClip.h"
#include "ui/platform/ProcessControl.h"
#include "ui/platform/QtClipboard.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/freedesktop/QtTrayIcon.h"
#include "ui/widgets/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{

double processCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

QString textOfSize(qsizetype size, const QString &firstLine)
{
    const QString line =
        QStringLiteral("会議メモ: the review starts at ten, room 4B. ABCDEFGHIJ\r\n");
    QString text = firstLine + QStringLiteral("\r\n");
    text.reserve(size + line.size());
    while (text.size() < size)
        text.append(line);
    text.truncate(size);
    return text;
}

struct Program {
    QTemporaryDir folder;
    QtDialogs dialogs;
    QtClipboard clipboard;
    QtTrayIcon tray;
    QtHelpViewer help;
    RealProcessControl process;
    ProgramState state;
    Platform platform{dialogs,      clipboard, tray, help, process, &ScreenMetrics::ofPrimaryScreen,
                      folder.path()};
    frmClip window{state, platform};

    Program()
    {
        window.Form_Load();
        window.cmdStart_Click();
        QCoreApplication::processEvents();
    }
};

void unchangedTick(Program &program)
{
    program.clipboard.setText(textOfSize(1 << 20, QStringLiteral("unchanged")));
    program.window.Timer1_Timer();
    QCoreApplication::processEvents();
    constexpr int ticks = 1000;
    const double start = processCpuSeconds();
    for (int i = 0; i < ticks; ++i)
        program.window.Timer1_Timer();
    const double perTick = (processCpuSeconds() - start) / ticks;
    std::printf("tick_unchanged_1mb_cpu %.4f ms\n", perTick * 1e3);
}

void largeCapture(Program &program)
{
    const QString text = textOfSize(10 * 1000 * 1000, QStringLiteral("large capture"));
    program.clipboard.setText(text);
    QElapsedTimer timer;
    timer.start();
    program.window.Timer1_Timer();
    const double milliseconds = double(timer.nsecsElapsed()) / 1e6;
    const bool complete = QFileInfo(program.window.CurrentFile).size() > text.size() &&
                          program.window.txtText->text() == text;
    std::printf("capture_10mb %.0f ms\n", milliseconds);
    std::printf("capture_10mb_complete %d flag\n", complete ? 1 : 0);
}

void numberedCaptures(Program &program)
{
    QTemporaryDir folder;
    program.state.FolderPath = QDir::toNativeSeparators(folder.path()) + QDir::separator();
    constexpr int captures = 1000;
    std::vector<double> times;
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < captures; ++i) {
        QElapsedTimer one;
        one.start();
        program.clipboard.setText(QStringLiteral("memo\r\ncapture %1").arg(i));
        program.window.Timer1_Timer();
        times.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    const double seconds = double(total.nsecsElapsed()) / 1e9;
    const bool lastNamed = QFileInfo::exists(folder.filePath(QStringLiteral("memo 999.txt")));
    std::printf("numbered_captures_rate %.0f captures/s\n", captures / seconds);
    std::printf("numbered_capture_last_ms %.2f ms\n", times.back());
    std::printf("numbered_captures_all_named %d flag\n", lastNamed ? 1 : 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program program;
    unchangedTick(program);
    largeCapture(program);
    numberedCaptures(program);
    return 0;
}
