#include "ui/platform/PlatformError.h"
#include "ui/platform/windows/WindowsClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>
#include <cstring>
#include <future>
#include <thread>
#include <windows.h>

namespace
{

HGLOBAL globalCopy(const void *data, size_t size)
{
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

// Copies as another Windows program does: the text, and each registered format with its number.
void copyAsAnotherProgram(const QString &text, const QList<QPair<QString, int>> &marks = {})
{
    QVERIFY(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::wstring units = text.toStdWString();
    SetClipboardData(CF_UNICODETEXT, globalCopy(units.c_str(), (units.size() + 1) * 2));
    for (const auto &[name, number] : marks) {
        const DWORD value = DWORD(number);
        SetClipboardData(RegisterClipboardFormatW(name.toStdWString().c_str()),
                         globalCopy(&value, sizeof value));
    }
    CloseClipboard();
}

QString unicodeTextOnTheClipboard()
{
    if (!OpenClipboard(nullptr))
        return QStringLiteral("(not opened)");
    QString text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = QString::fromWCharArray(static_cast<const wchar_t *>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace

// The Windows clipboard as the program reads and writes it: the text exactly as another program
// put it there, line ends included, and nothing of what a password manager marks.
class WindowsClipboardTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theTextIsReadAsItWasCopied_data();
    void theTextIsReadAsItWasCopied();
    void passwordManagersMarksMakeTheClipboardHoldNoText_data();
    void passwordManagersMarksMakeTheClipboardHoldNoText();
    void theProgramsOwnCopyReachesOtherProgramsAsItIs();
    void aClipboardAnotherProgramHoldsOpenIsAFailure();
    void clearingLeavesNoText();
    void aTextAtTheLimitIsTaken();
    void aTextPastTheLimitIsNotTakenUntilTheNextChange();
};

void WindowsClipboardTest::theTextIsReadAsItWasCopied_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF line ends stay") << "first\r\nsecond\r\n";
    QTest::newRow("a line feed alone stays") << "first\nsecond";
    QTest::newRow("a carriage return alone stays") << "first\rsecond";
    QTest::newRow("Japanese") << "日本語のテキスト\r\nﾊﾝｶｸ";
    QTest::newRow("the empty text") << "";
}

void WindowsClipboardTest::theTextIsReadAsItWasCopied()
{
    QFETCH(QString, text);
    copyAsAnotherProgram(text);
    WindowsClipboard clipboard;
    QVERIFY(clipboard.holdsText());
    QCOMPARE(clipboard.text(), text);
}

void WindowsClipboardTest::passwordManagersMarksMakeTheClipboardHoldNoText_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("holdsText");
    QTest::newRow("left out of monitoring")
        << "ExcludeClipboardContentFromMonitorProcessing" << 0 << false;
    QTest::newRow("for clipboard viewers to ignore") << "Clipboard Viewer Ignore" << 1 << false;
    QTest::newRow("kept out of the clipboard history")
        << "CanIncludeInClipboardHistory" << 0 << false;
    QTest::newRow("allowed in the clipboard history")
        << "CanIncludeInClipboardHistory" << 1 << true;
    QTest::newRow("kept out of the cloud clipboard only")
        << "CanUploadToCloudClipboard" << 0 << true;
}

void WindowsClipboardTest::passwordManagersMarksMakeTheClipboardHoldNoText()
{
    QFETCH(QString, format);
    QFETCH(int, value);
    QFETCH(bool, holdsText);
    copyAsAnotherProgram(QStringLiteral("hunter2"), {{format, value}});
    WindowsClipboard clipboard;
    QCOMPARE(clipboard.holdsText(), holdsText);
}

void WindowsClipboardTest::theProgramsOwnCopyReachesOtherProgramsAsItIs()
{
    WindowsClipboard clipboard;
    const QString text = QStringLiteral("a file's text\nwith a line feed\r\nand CR LF");
    clipboard.setText(text);
    QCOMPARE(unicodeTextOnTheClipboard(), text);
    QCOMPARE(clipboard.text(), text);
}

void WindowsClipboardTest::aClipboardAnotherProgramHoldsOpenIsAFailure()
{
    copyAsAnotherProgram(QStringLiteral("memo"));
    WindowsClipboard clipboard;
    // Windows lets the thread that opened the clipboard open it again: another thread holds it.
    std::promise<bool> opened;
    std::promise<void> done;
    std::thread holder([&] {
        opened.set_value(OpenClipboard(nullptr));
        done.get_future().wait();
        CloseClipboard();
    });
    QVERIFY(opened.get_future().get());
    bool failed = false;
    try {
        clipboard.text();
    } catch (const PlatformError &) {
        failed = true;
    }
    done.set_value();
    holder.join();
    QVERIFY2(failed, "a clipboard that cannot be opened must not read as the empty text");
    QCOMPARE(clipboard.text(), QStringLiteral("memo"));
}

void WindowsClipboardTest::clearingLeavesNoText()
{
    copyAsAnotherProgram(QStringLiteral("memo"));
    WindowsClipboard clipboard;
    clipboard.clear();
    QVERIFY(!clipboard.holdsText());
}

void WindowsClipboardTest::aTextAtTheLimitIsTaken()
{
    WindowsClipboard clipboard;
    clipboard.setTextLimit(64);
    copyAsAnotherProgram(QString(64, u'x'));
    QVERIFY(clipboard.holdsText());
    QCOMPARE(clipboard.text(), QString(64, u'x'));
}

void WindowsClipboardTest::aTextPastTheLimitIsNotTakenUntilTheNextChange()
{
    WindowsClipboard clipboard;
    clipboard.setTextLimit(64);
    copyAsAnotherProgram(QString(65, u'x'));
    QVERIFY(!clipboard.holdsText());
    QVERIFY(clipboard.textTooLarge());
    QVERIFY_THROWS_EXCEPTION(PlatformError, clipboard.text());
    // A smaller text is not looked at before the change is reported.
    copyAsAnotherProgram(QStringLiteral("small"));
    QVERIFY(!clipboard.holdsText());
    QVERIFY(clipboard.textTooLarge());
    // Qt's report of the change, as its listener gets it from Windows (the tests run on Qt's
    // offscreen platform, which does not listen).
    Q_EMIT QGuiApplication::clipboard()->changed(QClipboard::Clipboard);
    QVERIFY(!clipboard.textTooLarge());
    QVERIFY(clipboard.holdsText());
    QCOMPARE(clipboard.text(), QStringLiteral("small"));
}

QTEST_MAIN(WindowsClipboardTest)
#include "tst_windowsclipboard.moc"
