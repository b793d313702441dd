#include "capture/TextCodec.h"
#include "capture/TextLines.h"
#include "library/TextFileLoader.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelection>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace
{

constexpr qint64 fileSize = 10 * 1000 * 1000;

void report(const char *name, double value, const char *unit)
{
    std::printf("%s %.1f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The best of a few runs, in milliseconds: the machine is shared, and the best run is the one
// least disturbed by others.
double bestMilliseconds(int runs, const std::function<void()> &setUp,
                        const std::function<void()> &run)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        setUp();
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

QByteArray japaneseFile(CodePage codePage)
{
    const QByteArray line = encodeText(
        QStringLiteral("クリップボードから取り込んだ日本語の行 0123456789 abc\r\n"), codePage);
    QByteArray bytes;
    bytes.reserve(fileSize + line.size());
    while (bytes.size() < fileSize)
        bytes += line;
    return bytes;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void benchReader(const char *name, const QByteArray &bytes, CodePage codePage)
{
    const double ms = bestMilliseconds(
        5, [] {}, [&] { readTextFile(bytes, codePage); });
    report(name, double(bytes.size()) / 1e6 / (ms / 1000), "MB/s");
}

void benchLineRule(const QByteArray &bytes)
{
    const QString contents = decodeText(bytes, CodePage::Utf8);
    const double ms = bestMilliseconds(
        5, [] {}, [&] { joinedLines(contents); });
    report("line_rule_utf8", double(bytes.size()) / 1e6 / (ms / 1000), "MB/s");
}

void benchLoader(const char *name, const QByteArray &bytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.txt"));
    writeBytes(path, bytes);
    const double ms = bestMilliseconds(
        5, [] {},
        [&] { readTextFile(readFileBytes(path, [](qint64, qint64) {}), systemCodePage()); });
    report(name, double(bytes.size()) / 1e6 / (ms / 1000), "MB/s");
}

void benchPress(const char *name, const QByteArray &bytes)
{
    TestPlatform desktop;
    desktop.state.Settings[9] = -1;
    desktop.state.FolderPath = desktop.folder.path() + u'/';
    frmClip window(desktop.state, desktop.platform);
    writeBytes(desktop.state.FolderPath + QStringLiteral("big.txt"), bytes);
    window.flbText->setPath(desktop.state.FolderPath);
    window.flbText->setCurrentRow(0);
    window.show();
    const double ms = bestMilliseconds(
        3, [&] { window.txtText->setText(QString()); },
        [&] {
            window.flbText_MouseDown(1);
            QApplication::processEvents();
        });
    if (window.txtText->isEmpty())
        std::fprintf(stderr, "%s: the pane stayed empty\n", name);
    report(name, ms, "ms");
}

// A copied text of 20 million characters in lines of 80, shown in the pane, and the first key
// typed into it, which hands the text to the editor.
void benchPane(const char *name, const QString &lineEnd)
{
    QString text;
    const QString line = QString(80, u'x') + lineEnd;
    text.reserve(20 * 1000 * 1000 + line.size());
    while (text.size() < 20 * 1000 * 1000)
        text += line;
    TextBox box;
    box.resize(600, 400);
    box.show();
    QApplication::processEvents();
    const double setMs = bestMilliseconds(
        3, [&] { box.setText(QString()); },
        [&] {
            box.setText(text);
            box.repaint();
        });
    report(QByteArray(QByteArrayLiteral("pane_set_text_") + name).constData(), setMs, "ms");
    const double editMs = bestMilliseconds(
        1, [&] { box.setText(text); },
        [&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
            QApplication::sendEvent(&box, &key);
            box.repaint();
        });
    if (box.text().size() != text.size() + 1)
        std::fprintf(stderr, "pane_first_edit_%s: the key did not reach the text\n", name);
    report(QByteArray(QByteArrayLiteral("pane_first_edit_") + name).constData(), editMs, "ms");
}

void benchListAndDelete()
{
    TestPlatform desktop;
    desktop.state.FolderPath = desktop.folder.path() + u'/';
    frmClip window(desktop.state, desktop.platform);
    const auto fill = [&] {
        for (int i = 0; i < 10000; ++i)
            writeBytes(desktop.state.FolderPath + QStringLiteral("メモ %1.txt").arg(i),
                       QByteArrayLiteral("text\r\n"));
    };
    fill();
    window.flbText->setPath(desktop.state.FolderPath);
    const double listMs = bestMilliseconds(
        5, [] {}, [&] { window.flbText->refresh(); });
    report("list_10000_files", listMs, "ms");

    const auto selectEveryTenth = [&] {
        fill();
        window.flbText->refresh();
        QItemSelection selection;
        for (int row = 0; row < 10000; row += 10) {
            const QModelIndex index = window.flbText->model()->index(row, 0);
            selection.select(index, index);
        }
        window.flbText->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        window.flbText->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    };
    const double deleteMs = bestMilliseconds(3, selectEveryTenth, [&] {
        desktop.dialogs.nextResults = {MsgBoxResult::Ok};
        window.DeleteFile_Click();
    });
    if (window.flbText->count() != 9000)
        std::fprintf(stderr, "delete_1000_of_10000_files: delete left %d files, not 9000\n",
                     window.flbText->count());
    report("delete_1000_of_10000_files", deleteMs, "ms");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray utf8 = japaneseFile(CodePage::Utf8);
    const QByteArray shiftJis = japaneseFile(CodePage::ShiftJis);

    benchLineRule(utf8);
    benchReader("reader_utf8", utf8, CodePage::Utf8);
    benchReader("reader_932_as_932", shiftJis, CodePage::ShiftJis);
    benchReader("reader_932_found_by_utf8_fallback", shiftJis, CodePage::Utf8);
    benchLoader("chunked_loader_from_disk_utf8", utf8);
    benchLoader("chunked_loader_from_disk_932", shiftJis);
    benchPress("press_to_pane_10mb_utf8_with_bar", utf8);
    benchPress("press_to_pane_10mb_932_with_bar", shiftJis);
    benchPane("20mb_crlf", QStringLiteral("\r\n"));
    benchPane("20mb_lf", QStringLiteral("\n"));
    benchListAndDelete();
    return 0;
}
