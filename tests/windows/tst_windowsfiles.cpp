#include "capture/CaptureFile.h"
#include "capture/TextCodec.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/PlatformError.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/DriveList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// What Windows does with the names and files of captures: names it takes for something else,
// files that are never replaced, whatever the case of a name, and the drive letters.
class WindowsFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();

    void namesWindowsTakesForSomethingElseAreErrorFiftyThree_data();
    void namesWindowsTakesForSomethingElseAreErrorFiftyThree();
    void aNameTakenInAnotherCaseIsNeverReplaced();
    void aCapturedDeviceNameBecomesNoName_data();
    void aCapturedDeviceNameBecomesNoName();
    void theDriveListHoldsTheDriveLetters();

private:
    QStringList entries() const;
    std::unique_ptr<QTemporaryDir> folder;
};

void WindowsFilesTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
}

QStringList WindowsFilesTest::entries() const
{
    return QDir(folder->path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void WindowsFilesTest::namesWindowsTakesForSomethingElseAreErrorFiftyThree_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a device name opens the console") << "con.txt";
    QTest::newRow("in any case") << "CoN.txt";
    QTest::newRow("with blanks before the extension") << "nul .txt";
    QTest::newRow("with two extensions") << "LPT9.md.txt";
    QTest::newRow("a serial port") << "COM1.txt";
    QTest::newRow("a colon names a stream of another file") << "a:b.txt";
    QTest::newRow("a name ending in a dot loses it") << "memo.txt.";
    QTest::newRow("a name ending in a blank loses it") << "memo.txt ";
    QTest::newRow("an asterisk") << "*.txt";
}

void WindowsFilesTest::namesWindowsTakesForSomethingElseAreErrorFiftyThree()
{
    QFETCH(QString, name);
    const QString path = QDir::toNativeSeparators(folder->path() + u'/' + name);
    for (const bool writing : {false, true}) {
        try {
            if (writing)
                writeNewFile(path, QByteArray("memo\r\n"));
            else
                plainFileExists(path);
            QFAIL(writing ? "the name was written" : "the name was looked up");
        } catch (const PlatformError &error) {
            QCOMPARE(error.number(), ErrorNumber::FileNotFound);
        }
    }
    QCOMPARE(entries(), QStringList());
}

void WindowsFilesTest::aNameTakenInAnotherCaseIsNeverReplaced()
{
    QFile taken(folder->filePath(QStringLiteral("Memo.txt")));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.write("old");
    taken.close();
    const QString other = QDir::toNativeSeparators(folder->filePath(QStringLiteral("MEMO.TXT")));
    QVERIFY(plainFileExists(other));
    QVERIFY(!writeNewFile(other, QByteArray("new\r\n")));
    QCOMPARE(entries(), QStringList{QStringLiteral("Memo.txt")});
    QVERIFY(taken.open(QIODevice::ReadOnly));
    QCOMPARE(taken.readAll(), QByteArray("old"));
}

void WindowsFilesTest::aCapturedDeviceNameBecomesNoName_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("con") << "con";
    QTest::newRow("prn with more lines") << "PRN\r\nsecond line";
    QTest::newRow("a name with a colon") << "12:30 meeting";
}

void WindowsFilesTest::aCapturedDeviceNameBecomesNoName()
{
    QFETCH(QString, text);
    TestPlatform desktop;
    frmClip window(desktop.state, desktop.platform);
    window.Form_Load();
    desktop.state.FolderPath = withTrailingSeparator(folder->path());
    window.cmdStart_Click();
    QCoreApplication::processEvents();
    desktop.clipboard.setText(text);
    window.Timer1_Timer();
    QCOMPARE(entries(), QStringList{QStringLiteral("NoName.txt")});
    QFile file(folder->filePath(QStringLiteral("NoName.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), textFileBytes(text, systemCodePage()));
}

void WindowsFilesTest::theDriveListHoldsTheDriveLetters()
{
    QStringList roots;
    for (const DriveList::Drive &drive : DriveList::mountedDrives())
        roots << drive.root;
    // Wine has C: for its Windows and Z: for the whole Linux file system.
    QVERIFY2(roots.contains(QStringLiteral("C:\\")), qPrintable(roots.join(u' ')));
    QVERIFY2(roots.contains(QStringLiteral("Z:\\")), qPrintable(roots.join(u' ')));
    const QString system = QDir::toNativeSeparators(QDir::rootPath());
    QCOMPARE(DriveList::driveOf(QDir::tempPath(), roots), system);
    QCOMPARE(DriveList::driveOf(QStringLiteral("Z:\\tmp\\clips"), roots), QStringLiteral("Z:\\"));
}

QTEST_MAIN(WindowsFilesTest)
#include "tst_windowsfiles.moc"
