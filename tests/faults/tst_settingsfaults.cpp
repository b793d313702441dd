#include "mock/ProcessLimits.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>
#include <cmath>

// Start-up and saving with a ClipSet.ini that was damaged, cut short or locked.
class SettingsFaultsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void aFileCutAnywhereStartsWithUsableValues();
    void aGarbledFileStartsWithUsableValues_data();
    void aGarbledFileStartsWithUsableValues();
    void aReadOnlyFileIsReportedAndKept();

private:
    QString iniPath() const { return desktop->folder.filePath(QStringLiteral("ClipSet.ini")); }
    void writeIni(const QByteArray &bytes) const;
    QByteArray iniBytes() const;
    void start();
    void verifyUsable();

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
};

void SettingsFaultsTest::init()
{
    desktop = std::make_unique<TestPlatform>();
}

void SettingsFaultsTest::cleanup()
{
    QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
    window.reset();
    desktop.reset();
}

void SettingsFaultsTest::writeIni(const QByteArray &bytes) const
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray SettingsFaultsTest::iniBytes() const
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void SettingsFaultsTest::start()
{
    window.reset();
    desktop->state = ProgramState();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
    window->Form_Load();
}

// The program runs on with values a user can work with, and has said nothing.
void SettingsFaultsTest::verifyUsable()
{
    QCOMPARE(desktop->process.endCount, 0);
    QVERIFY(desktop->dialogs.asked.isEmpty());
    const auto &s = desktop->state.Settings;
    QVERIFY(s[10] >= 5 && s[10] <= 25);
    QCOMPARE(window->vscNameLen->value(), int(std::nearbyint(s[10])));
    QVERIFY(std::isfinite(s[4]) && std::isfinite(s[5]));
    const QRectF outer = window->outerRectTwips();
    QVERIFY2(outer.intersects(QRectF(0, 0, 15360, 11520)), "the window must be on the screen");
    QVERIFY(QFileInfo(desktop->state.FolderPath).isDir());
}

void SettingsFaultsTest::aFileCutAnywhereStartsWithUsableValues()
{
    start();
    const QByteArray whole = iniBytes();
    QCOMPARE(whole.count('\n'), 12);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const QByteArray cut = whole.first(length);
        writeIni(cut);
        start();
        verifyUsable();
        // Only a missing file is written at start-up.
        QCOMPARE(iniBytes(), cut);
    }
}

void SettingsFaultsTest::aGarbledFileStartsWithUsableValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray tail = "-1\r\n-1\r\n0\r\n-1\r\n";
    QTest::newRow("NUL bytes in the numbers") << QByteArray("38\0"
                                                            "40\r\n2880\r\n",
                                                            12);
    QTest::newRow("binary bytes") << QByteArray("\xFF\xFE\x00\x01\x80\x81\r\n\r\r\n\n", 12);
    QTest::newRow("not-a-number and infinity") << QByteArray("nan\r\ninf\r\n-inf\r\n");
    QTest::newRow("a number past the single-precision range")
        << QByteArray("1e39\r\n2880\r\n7680\r\n5760\r\n");
    QTest::newRow("a window far off every screen and smaller than its least size")
        << "-1e30\r\n1e30\r\n1\r\n1\r\n256\r\n192\r\n" + tail + "12\r\n\"/\"\r\n";
    QTest::newRow("splitters and name length at the ends of the range")
        << "3840\r\n2880\r\n7680\r\n5760\r\n-3e38\r\n3e38\r\n" + tail + "-32769\r\n\"/\"\r\n";
    QTest::newRow("a huge name length")
        << "3840\r\n2880\r\n7680\r\n5760\r\n256\r\n192\r\n" + tail + "1e30\r\n\"/\"\r\n";
    QTest::newRow("a folder that is not valid text")
        << "3840\r\n2880\r\n7680\r\n5760\r\n256\r\n192\r\n" + tail + "12\r\n\"/\xFF\xFE\x80\"\r\n";
    QTest::newRow("a relative folder")
        << "3840\r\n2880\r\n7680\r\n5760\r\n256\r\n192\r\n" + tail + "12\r\n\"../..\"\r\n";
    QTest::newRow("a quote alone") << QByteArray("\"");
}

void SettingsFaultsTest::aGarbledFileStartsWithUsableValues()
{
    QFETCH(QByteArray, bytes);
    writeIni(bytes);
    start();
    verifyUsable();
    QCOMPARE(iniBytes(), bytes);
}

void SettingsFaultsTest::aReadOnlyFileIsReportedAndKept()
{
    start();
    QByteArray stored = iniBytes();
    stored.replace("\r\n12\r\n", "\r\n20\r\n");
    writeIni(stored);
    QVERIFY(QFile::setPermissions(iniPath(), QFile::ReadOwner));
    start();
    verifyUsable();
    QCOMPARE(window->vscNameLen->value(), 20);

    if (!permissionsBind())
        QSKIP("File permissions do not bind the superuser: tst_settingsfaults_unprivileged runs "
              "this test as another user.");
    window->mnuSet(9)->trigger();
    QCOMPARE(desktop->dialogs.asked.size(), 1);
    QCOMPARE(desktop->dialogs.asked.first().title, QStringLiteral("設定及び表示状態の保存"));
    QCOMPARE(iniBytes(), stored);
    // The toggle itself holds for this run.
    QCOMPARE(desktop->state.Settings[9], 0.0f);
}

QTEST_MAIN(SettingsFaultsTest)
#include "tst_settingsfaults.moc"
