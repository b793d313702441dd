#include "mock/FakeSelectionChannel.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/platform/WatchedClipboard.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QtTest>

namespace
{

// The program on a desktop whose clipboard arrives over a channel that the test moves by hand.
struct ChannelDesktop {
    explicit ChannelDesktop(bool withoutFocus) : clipboard(channel, withoutFocus)
    {
        window.Form_Load();
        desk.state.FolderPath = withTrailingSeparator(captures.path());
        window.flbText->setPath(desk.state.FolderPath);
    }

    QStringList files() const { return QDir(captures.path()).entryList(QDir::Files); }

    TestPlatform desk;
    FakeSelectionChannel channel;
    WatchedClipboard clipboard;
    Platform platform{desk.dialogs,      clipboard,    desk.tray,
                      desk.help,         desk.process, [] { return ScreenMetrics{}; },
                      desk.folder.path()};
    frmClip window{desk.state, platform};
    QTemporaryDir captures;
};

} // namespace

class WatchedCaptureTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aTextArrivingInPiecesIsCapturedOnceWhole();
    void switchingOnWhereOnlyTheActiveWindowHearsCopiesWarnsOncePerRun();
    void aTextTooLargeToKeepIsToldOncePerRun();
};

void WatchedCaptureTest::aTextArrivingInPiecesIsCapturedOnceWhole()
{
    ChannelDesktop desktop(true);
    desktop.window.cmdStart_Click();
    QVERIFY(desktop.channel.cleared);
    desktop.channel.change();
    QCoreApplication::processEvents();
    QCOMPARE(desktop.channel.requests, QStringList{QStringLiteral("types")});
    desktop.channel.offer({QStringLiteral("UTF8_STRING")});
    desktop.channel.send("large text\r\nfirst part, ");
    // Ticks while the text arrives see no text at all.
    desktop.window.Timer1_Timer();
    QVERIFY(desktop.files().isEmpty());
    QVERIFY(desktop.window.txtText->text().isEmpty());
    desktop.channel.send("second part");
    desktop.channel.end();
    QCoreApplication::processEvents();
    QCOMPARE(desktop.files(), QStringList{QStringLiteral("large text.txt")});
    QCOMPARE(desktop.window.LastClipText, QStringLiteral("large text\r\nfirst part, second part"));
    QCOMPARE(desktop.window.txtText->text(), desktop.window.LastClipText);
    // The same text read again after a repeated report makes no second file.
    desktop.channel.change();
    QCoreApplication::processEvents();
    desktop.channel.offer({QStringLiteral("UTF8_STRING")});
    desktop.channel.send("large text\r\nfirst part, second part");
    desktop.channel.end();
    QCoreApplication::processEvents();
    QCOMPARE(desktop.files().size(), 1);
}

void WatchedCaptureTest::switchingOnWhereOnlyTheActiveWindowHearsCopiesWarnsOncePerRun()
{
    for (const bool withoutFocus : {false, true}) {
        ChannelDesktop desktop(withoutFocus);
        for (int toggle = 0; toggle < 4; ++toggle)
            desktop.window.cmdStart_Click();
        QVERIFY(!desktop.window.Reading);
        desktop.window.cmdStart_Click();
        QVERIFY(desktop.window.Reading);
        QCOMPARE(desktop.desk.dialogs.asked.size(), withoutFocus ? 0 : 1);
        if (!withoutFocus) {
            QCOMPARE(desktop.desk.dialogs.asked.front().style, 48);
            QCOMPARE(desktop.desk.dialogs.asked.front().title, QStringLiteral("Quillbox"));
        }
    }
}

void WatchedCaptureTest::aTextTooLargeToKeepIsToldOncePerRun()
{
    ChannelDesktop desktop(true);
    desktop.clipboard.setTextLimit(16);
    desktop.window.cmdStart_Click();
    const auto copy = [&desktop](const QByteArray &text) {
        desktop.channel.change();
        QCoreApplication::processEvents();
        desktop.channel.offer({QStringLiteral("UTF8_STRING")});
        desktop.channel.send(text);
        if (text.size() <= 16)
            desktop.channel.end();
        QCoreApplication::processEvents();
    };
    copy("larger than sixteen bytes");
    QVERIFY(desktop.files().isEmpty());
    QCOMPARE(desktop.desk.dialogs.asked.size(), 1);
    const ScriptedDialogs::Asked &told = desktop.desk.dialogs.asked.front();
    QCOMPARE(told.style, 48);
    QCOMPARE(told.title, QStringLiteral("Quillbox"));
    QVERIFY2(told.text.contains(QStringLiteral("256 MB")), qPrintable(told.text));
    copy("larger than sixteen bytes again");
    copy("small enough");
    QCOMPARE(desktop.desk.dialogs.asked.size(), 1);
    QCOMPARE(desktop.files(), QStringList{QStringLiteral("small enough.txt")});
}

QTEST_MAIN(WatchedCaptureTest)
#include "tst_watchedcapture.moc"
