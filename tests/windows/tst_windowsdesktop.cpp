#include "capture/TextCodec.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/InstalledCopy.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FolderList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QByteArray linesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// What the program takes from Windows: its folder, and the capture folder stored with its drive
// letter.
class WindowsDesktopTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theProgramFolderEndsInOneBackslash_data();
    void theProgramFolderEndsInOneBackslash();
    void aCopyInProgramFilesIsAnInstalledOne_data();
    void aCopyInProgramFilesIsAnInstalledOne();
    void theCaptureFolderIsStoredAndRestoredWithItsDriveLetter_data();
    void theCaptureFolderIsStoredAndRestoredWithItsDriveLetter();
};

void WindowsDesktopTest::theProgramFolderEndsInOneBackslash_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("withBackslash");
    QTest::newRow("a program at the root of drive D keeps its one backslash") << "D:/"
                                                                              << "D:\\";
    QTest::newRow("a program in D:\\Tools gets one") << "D:/Tools"
                                                     << "D:\\Tools\\";
    QTest::newRow("a folder that has one keeps it") << "D:\\Tools\\"
                                                    << "D:\\Tools\\";
}

void WindowsDesktopTest::theProgramFolderEndsInOneBackslash()
{
    QFETCH(QString, folder);
    QFETCH(QString, withBackslash);
    QCOMPARE(withTrailingSeparator(folder), withBackslash);
    QCOMPARE(withTrailingSeparator(folder) + QStringLiteral("Quillbox.HLP"),
             withBackslash + QStringLiteral("Quillbox.HLP"));
}

void WindowsDesktopTest::aCopyInProgramFilesIsAnInstalledOne_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("installed");
    QTest::newRow("the installer's folder") << "C:\\Program Files\\Quillbox" << true;
    QTest::newRow("in another case") << "c:/program files/QUILLBOX" << true;
    QTest::newRow("the 32-bit programs' folder") << "C:\\Program Files (x86)\\Quillbox" << true;
    QTest::newRow("a folder of that name elsewhere is not")
        << QDir::tempPath() + QStringLiteral("/Program Files/Quillbox") << false;
    QTest::newRow("a folder the user may write to") << QDir::tempPath() << false;
}

void WindowsDesktopTest::aCopyInProgramFilesIsAnInstalledOne()
{
    QFETCH(QString, folder);
    QFETCH(bool, installed);
    if (folder.startsWith(QDir::tempPath()))
        QVERIFY(QDir().mkpath(folder));
    QCOMPARE(isInstalledCopy(folder), installed);
    QVERIFY(QDir(QDir::tempPath())
                .entryList({QStringLiteral(".quillbox-*")}, QDir::Hidden | QDir::Files)
                .isEmpty());
}

void WindowsDesktopTest::theCaptureFolderIsStoredAndRestoredWithItsDriveLetter_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a folder on drive Z:") << "クリップ";
    QTest::newRow("the root of drive Z:") << "";
}

void WindowsDesktopTest::theCaptureFolderIsStoredAndRestoredWithItsDriveLetter()
{
    QFETCH(QString, name);
    // Wine's drive Z: is the Linux root; the program folder is on C:, in Wine's temporary folder.
    QTemporaryDir other(QStringLiteral("Z:/tmp/quillbox-drive-XXXXXX"));
    QVERIFY(other.isValid());
    QVERIFY(name.isEmpty() || QDir(other.path()).mkpath(name));
    const QString folder =
        name.isEmpty() ? QStringLiteral("Z:\\") : withTrailingSeparator(other.filePath(name));
    QVERIFY(folder.startsWith(QStringLiteral("Z:\\")));

    TestPlatform desktop;
    const QString ini = desktop.folder.filePath(QStringLiteral("ClipSet.ini"));
    const QByteArray twelfth = '"' + encodeText(folder, systemCodePage()) + "\"\r\n";
    {
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("4500\r\n3000\r\n6000\r\n4500\r\n150\r\n120\r\n-1\r\n0\r\n0\r\n-1\r\n12\r\n" +
                   twelfth);
    }
    frmClip window(desktop.state, desktop.platform);
    QVERIFY(!withTrailingSeparator(desktop.folder.path()).startsWith(QStringLiteral("Z:")));
    window.Form_Load();
    QCOMPARE(window.drvText->drive(), QStringLiteral("Z:\\"));
    QCOMPARE(withTrailingSeparator(window.dirText->path()), folder);
    QCOMPARE(desktop.state.FolderPath, folder);

    window.mnuFrmPosi_Click();
    QVERIFY(linesOf(ini).endsWith("\r\n12\r\n" + twelfth));
}

QTEST_MAIN(WindowsDesktopTest)
#include "tst_windowsdesktop.moc"
