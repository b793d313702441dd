#include "mock/ProcessLimits.h"
#include "mock/TestPlatform.h"
#include "ui/frmClip.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

namespace
{

QString hundredMegabytes()
{
    // Lines of a hundred characters, as a large log or listing is copied.
    const QString line = QStringLiteral("0123456789").repeated(10) + QStringLiteral("\r\n");
    return line.repeated(100'000'000 / line.size());
}

} // namespace

// The capture tick under faults of the folder it writes to and of the text it is given.
class CaptureFaultsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void capturesResumeOnceTheRemovedFolderIsBack();
    void aReadOnlyFolderTakesNoFileAndAsksNothing();
    void aHundredMegabyteTextIsCapturedWhole();
    void aHundredMegabyteTextOnAFullDiskLeavesNoPartOfIt();

private:
    void capture(const QString &text);
    QStringList entries() const;

    std::unique_ptr<TestPlatform> desktop;
    std::unique_ptr<frmClip> window;
    QString folder;
};

void CaptureFaultsTest::init()
{
    desktop = std::make_unique<TestPlatform>();
    window = std::make_unique<frmClip>(desktop->state, desktop->platform);
    window->Form_Load();
    folder = desktop->folder.path() + QStringLiteral("/captures/");
    QVERIFY(QDir().mkpath(folder));
    desktop->state.FolderPath = folder;
    window->flbText->setPath(folder);
    window->cmdStart_Click();
    QCoreApplication::processEvents();
}

void CaptureFaultsTest::cleanup()
{
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    window.reset();
    desktop.reset();
}

void CaptureFaultsTest::capture(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    window->Timer1_Timer();
}

QStringList CaptureFaultsTest::entries() const
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void CaptureFaultsTest::capturesResumeOnceTheRemovedFolderIsBack()
{
    capture(QStringLiteral("before"));
    QVERIFY(QDir(folder).removeRecursively());
    capture(QStringLiteral("while gone"));
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(window->Reading);

    QVERIFY(QDir().mkpath(folder));
    capture(QStringLiteral("after"));
    QCOMPARE(entries(), QStringList{QStringLiteral("after.txt")});
    QCOMPARE(window->txtText->text(), QStringLiteral("after"));
    QVERIFY(desktop->dialogs.asked.isEmpty());
}

void CaptureFaultsTest::aReadOnlyFolderTakesNoFileAndAsksNothing()
{
    if (!permissionsBind())
        QSKIP("Folder permissions do not bind the superuser: tst_capturefaults_unprivileged runs "
              "this test as another user.");
    capture(QStringLiteral("kept"));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    capture(QStringLiteral("refused"));
    QCOMPARE(entries(), QStringList{QStringLiteral("kept.txt")});
    QVERIFY(desktop->dialogs.asked.isEmpty());

    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    capture(QStringLiteral("writable"));
    QCOMPARE(entries(), (QStringList{QStringLiteral("kept.txt"), QStringLiteral("writable.txt")}));
}

void CaptureFaultsTest::aHundredMegabyteTextIsCapturedWhole()
{
    const QString text = hundredMegabytes();
    capture(text);

    QCOMPARE(entries(), QStringList{QStringLiteral("012345678901.txt")});
    QCOMPARE(window->txtText->text().size(), text.size());
    QFile file(folder + QStringLiteral("012345678901.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == text.toLatin1() + "\r\n");
}

void CaptureFaultsTest::aHundredMegabyteTextOnAFullDiskLeavesNoPartOfIt()
{
    if (!FileSizeLimit::isAvailable())
        QSKIP("This system sets no file-size limit on a process to stand in for a full disk.");
    capture(QStringLiteral("kept"));
    {
        const FileSizeLimit full(10'000'000);
        capture(hundredMegabytes());
    }
    QCOMPARE(entries(), QStringList{QStringLiteral("kept.txt")});
    QVERIFY(desktop->dialogs.asked.isEmpty());
    QVERIFY(window->Reading);

    capture(QStringLiteral("after"));
    QCOMPARE(entries(), (QStringList{QStringLiteral("after.txt"), QStringLiteral("kept.txt")}));
}

QTEST_MAIN(CaptureFaultsTest)
#include "tst_capturefaults.moc"
