#include "LibraryDesk.h"
#include "mock/Wine.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class ListsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void folderPathEndsInOneSeparator_data();
    void folderPathEndsInOneSeparator();
    void choosingAFolderInTheListMakesItTheCaptureFolder();
    void aFolderChangeEmptiesThePaneAndKeepsTheNameCaption();
    void aFolderChangeLeavesNoEntryForTheCommands();
    void theFileListShowsTextFilesAsAFileManagerSorts();
    void menuChangeFollowsTheSelection();
    void aDriveNotReadyWarnsOutsideTheTopLayerAndGoesBack();
    void recognisedVolumes_data();
    void recognisedVolumes();
    void theDriveListHoldsTheRootFromTheStart();

private:
    std::unique_ptr<LibraryDesk> desk;
};

void ListsTest::init()
{
    desk = std::make_unique<LibraryDesk>();
}

void ListsTest::cleanup()
{
    desk.reset();
}

void ListsTest::folderPathEndsInOneSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("folderPath");
    const QString root = QDir::rootPath();
    const QString folder = QCoreApplication::applicationDirPath();
    const QString withSeparator = QDir::toNativeSeparators(folder) + QDir::separator();
    QTest::newRow("the root gives the root alone") << root << QDir::toNativeSeparators(root);
    QTest::newRow("a folder gives its path and one separator") << folder << withSeparator;
    QTest::newRow("a trailing separator is not doubled") << folder + u'/' << withSeparator;
}

void ListsTest::folderPathEndsInOneSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, folderPath);
    desk->window->dirText->setPath(folder);
    QCOMPARE(desk->state().FolderPath, folderPath);
    QCOMPARE(desk->window->flbText->path(), folderPath);
}

void ListsTest::choosingAFolderInTheListMakesItTheCaptureFolder()
{
    QDir().mkpath(desk->folder + QStringLiteral("日本語フォルダー"));
    desk->window->dirText->setPath(desk->folder);
    FolderList *list = desk->window->dirText;
    list->resize(300, 400);
    desk->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk->window.get()));
    QListWidgetItem *child = nullptr;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().trimmed() == QStringLiteral("日本語フォルダー"))
            child = list->item(i);
    QVERIFY(child);
    list->scrollToItem(child);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(child).center());
    QCOMPARE(desk->state().FolderPath, desk->folder);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(child).center());
    QCOMPARE(desk->state().FolderPath,
             withTrailingSeparator(desk->folder + QStringLiteral("日本語フォルダー")));
    QCOMPARE(desk->window->flbText->path(), desk->state().FolderPath);
}

void ListsTest::aFolderChangeEmptiesThePaneAndKeepsTheNameCaption()
{
    desk->write(QStringLiteral("memo.txt"), "text\r\n");
    desk->load(QStringLiteral("memo.txt"));
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("text"));
    QVERIFY(!desk->window->lblST[1]->text().isEmpty());
    QDir().mkpath(desk->folder + QStringLiteral("other"));
    desk->window->dirText->setPath(desk->folder + QStringLiteral("other"));
    QVERIFY(desk->window->txtText->isEmpty());
    QCOMPARE(desk->window->lblST[1]->text(), QString());
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("memo"));
    QCOMPARE(desk->window->flbText->count(), 0);
}

void ListsTest::aFolderChangeLeavesNoEntryForTheCommands()
{
    QDir().mkpath(desk->folder + QStringLiteral("other"));
    for (const char *name : {"a.txt", "memo.txt", "other/a.txt", "other/memo.txt"})
        desk->write(QString::fromLatin1(name), name);
    desk->choose(QStringLiteral("memo.txt"), {QStringLiteral("a.txt"), QStringLiteral("memo.txt")});
    QVERIFY(!desk->window->cmdUwa->isEnabled());
    desk->window->dirText->setPath(desk->folder + QStringLiteral("other"));
    QCOMPARE(desk->window->flbText->fileName(), QString());
    QCOMPARE(desk->window->flbText->selectedCount(), 0);
    QVERIFY2(desk->window->cmdUwa->isEnabled(), "no selection enables the single-file commands");
    desk->window->mnuUwa_Click();
    QCOMPARE(desk->read(QStringLiteral("other/memo.txt")), QByteArray("other/memo.txt"));
}

void ListsTest::theFileListShowsTextFilesAsAFileManagerSorts()
{
    for (const char *name : {"memo 10.txt", "memo 2.txt", "MEMO.TXT", "note.doc", "あ.txt",
                             ".env.txt", ".quillbox-1-0.tmp"})
        desk->write(QString::fromUtf8(name), "x\r\n");
    QDir().mkpath(desk->folder + QStringLiteral("folder.txt"));
    if (runsUnderWine())
        QSKIP("Wine's sort keys put Japanese before the full stop, against its own comparison; "
              "Windows' keys and comparison agree.");
    desk->window->flbText->refresh();
    QStringList shown;
    for (int i = 0; i < desk->window->flbText->count(); ++i)
        shown << desk->window->flbText->entry(i);
    QCOMPARE(shown, (QStringList{".env.txt", "memo 2.txt", "memo 10.txt", "MEMO.TXT", "あ.txt"}));
}

void ListsTest::menuChangeFollowsTheSelection()
{
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        desk->write(QString::fromLatin1(name), "x\r\n");
    desk->window->flbText->refresh();
    frmClip &w = *desk->window;
    const auto singleFileCommandsEnabled = [&] {
        const QList<bool> states = {
            w.cmdUwa->isEnabled(),  w.cmdName->isEnabled(),  w.cmdReName->isEnabled(),
            w.mnuUwa->isEnabled(),  w.mnuName->isEnabled(),  w.mnuRename->isEnabled(),
            w.mnuUwa2->isEnabled(), w.mnuName2->isEnabled(), w.mnuRename2->isEnabled()};
        if (states.count(states.first()) != states.size())
            return -1;
        return int(states.first());
    };
    const auto othersEnabled = [&] {
        return w.cmdDelete->isEnabled() && w.mnuDelete->isEnabled() && w.DeleteFile->isEnabled() &&
               w.cmdCopy->isEnabled() && w.mnuCopy->isEnabled() && w.cmdStart->isEnabled();
    };
    FileList *list = w.flbText;
    list->item(0)->setSelected(true);
    QCOMPARE(singleFileCommandsEnabled(), 1);
    list->item(1)->setSelected(true);
    QCOMPARE(singleFileCommandsEnabled(), 0);
    QVERIFY(othersEnabled());
    list->item(2)->setSelected(true);
    QCOMPARE(singleFileCommandsEnabled(), 0);
    list->item(0)->setSelected(false);
    list->item(1)->setSelected(false);
    QCOMPARE(singleFileCommandsEnabled(), 1);
    list->clearSelection();
    QCOMPARE(singleFileCommandsEnabled(), 1);
    QVERIFY(othersEnabled());
}

void ListsTest::aDriveNotReadyWarnsOutsideTheTopLayerAndGoesBack()
{
    // A drive whose volume is not mounted where the list says, as after a medium was taken out.
    QTemporaryDir unmounted;
    desk->state().Settings[7] = -1;
    desk->window->SetTopmost(-1);
    DriveList *drives = desk->window->drvText;
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    drives->setDrives({{root, QString()}, {unmounted.path(), QStringLiteral("USB")}});
    drives->setDrive(desk->folder);
    QCOMPARE(drives->drive(), root);
    const QString folderPath = desk->state().FolderPath;
    bool topmostWhileOpen = true;
    desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &) {
        topmostWhileOpen = desk->window->windowFlags() & Qt::WindowStaysOnTopHint;
    };
    drives->setCurrentIndex(1);
    QCOMPARE(desk->dialogs().asked.size(), 1);
    const ScriptedDialogs::Asked warning = desk->dialogs().asked.first();
    QCOMPARE(warning.text, QStringLiteral("ﾃﾞｨｽｸがｾｯﾄされていません"));
    QCOMPARE(warning.title, QStringLiteral("警告"));
    QCOMPARE(warning.style, 16);
    QVERIFY(!topmostWhileOpen);
    QVERIFY(desk->window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(drives->drive(), root);
    QCOMPARE(desk->state().FolderPath, folderPath);
}

void ListsTest::recognisedVolumes_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<bool>("recognised");
    QTest::newRow("the root always") << "/" << QByteArray("overlay") << true << true;
    QTest::newRow("a stick under /media")
        << "/media/user/USB" << QByteArray("vfat") << true << true;
    QTest::newRow("a stick under /run/media")
        << "/run/media/user/DISC" << QByteArray("iso9660") << true << true;
    QTest::newRow("a data partition") << "/data" << QByteArray("ext4") << true << true;
    QTest::newRow("a network share under /mnt")
        << "/mnt/share" << QByteArray("cifs") << true << true;
    QTest::newRow("not the runtime folder of a user")
        << "/run/user/1000" << QByteArray("tmpfs") << true << false;
    QTest::newRow("not the kernel's own") << "/proc" << QByteArray("proc") << true << false;
    QTest::newRow("not the boot partition") << "/boot/efi" << QByteArray("vfat") << true << false;
    QTest::newRow("not a file mounted over a file")
        << "/etc/hosts" << QByteArray("ext4") << false << false;
    QTest::newRow("not shared memory") << "/dev/shm" << QByteArray("tmpfs") << true << false;
    QTest::newRow("not a snap package")
        << "/snap/core/1" << QByteArray("squashfs") << true << false;
    QTest::newRow("not a mount below a hidden folder")
        << "/home/user/.cache/doc" << QByteArray("fuse.portal") << true << false;
}

void ListsTest::recognisedVolumes()
{
    QFETCH(QString, root);
    QFETCH(QByteArray, type);
    QFETCH(bool, isFolder);
    QFETCH(bool, recognised);
#ifdef Q_OS_WIN
    QSKIP("Windows lists every drive letter: which mounts a user recognises is asked on Linux.");
#endif
    QCOMPARE(DriveList::isRecognisedVolume(root, type, isFolder), recognised);
}

void ListsTest::theDriveListHoldsTheRootFromTheStart()
{
    const QList<DriveList::Drive> drives = desk->window->drvText->drives();
    QVERIFY(!drives.isEmpty());
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    QCOMPARE(drives.first().root, root);
    QCOMPARE(desk->window->drvText->drive(), root);
}

QTEST_MAIN(ListsTest)
#include "tst_lists.moc"
