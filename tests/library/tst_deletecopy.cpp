#include "LibraryDesk.h"
#include "ui/platform/Clipboard.h"
#include "ui/platform/QtDialogs.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class DeleteCopyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void theQuestionIsAskedOutsideTheTopLayer_data();
    void theQuestionIsAskedOutsideTheTopLayer();
    void cancelDeletesNothing();
    void enterAtTheRealQuestionDeletesNothing();
    void everySelectedEntryGoesAfterOneQuestion();
    void aCurrentEntryNotSelectedDeletesNothingButEmptiesThePane();
    void withoutACurrentEntryNothingIsAsked();
    void filesThatCannotGoAreNamedAndTheOthersGo();
    void aReadOnlyFolderIsReported();
    void aFileRemovedMeanwhileIsNoFailure();
    void everyDeleteControlAsks_data();
    void everyDeleteControlAsks();
    void theCopyIsWhatTheCaptureAlreadyKnows_data();
    void theCopyIsWhatTheCaptureAlreadyKnows();
    void anEmptyPaneLeavesTheClipboardAlone();

private:
    std::unique_ptr<LibraryDesk> desk;
};

void DeleteCopyTest::init()
{
    desk = std::make_unique<LibraryDesk>();
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        desk->write(QString::fromLatin1(name), "x\r\n");
    desk->load(QStringLiteral("a.txt"));
}

void DeleteCopyTest::cleanup()
{
    desk.reset();
}

void DeleteCopyTest::theQuestionIsAskedOutsideTheTopLayer_data()
{
    QTest::addColumn<float>("alwaysOnTop");
    QTest::newRow("always on top: topmost again after the box") << -1.0f;
    QTest::newRow("not on top: stays in the normal layer") << 0.0f;
}

void DeleteCopyTest::theQuestionIsAskedOutsideTheTopLayer()
{
    QFETCH(float, alwaysOnTop);
    desk->state().Settings[7] = alwaysOnTop;
    desk->window->SetTopmost(alwaysOnTop);
    bool topmostWhileOpen = true;
    desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &) {
        topmostWhileOpen = desk->window->windowFlags() & Qt::WindowStaysOnTopHint;
    };
    desk->dialogs().nextResults = {MsgBoxResult::Cancel};
    desk->window->DeleteFile_Click();
    QCOMPARE(desk->dialogs().asked.size(), 1);
    const ScriptedDialogs::Asked question = desk->dialogs().asked.first();
    QCOMPARE(question.text, QStringLiteral("削除していいですか？"));
    QCOMPARE(question.title, QStringLiteral("ﾌｧｲﾙの削除"));
    QCOMPARE(question.style, 289);
    QVERIFY(!topmostWhileOpen);
    QCOMPARE(bool(desk->window->windowFlags() & Qt::WindowStaysOnTopHint), alwaysOnTop == -1);
}

void DeleteCopyTest::cancelDeletesNothing()
{
    desk->choose(QStringLiteral("a.txt"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    desk->dialogs().nextResults = {MsgBoxResult::Cancel};
    desk->window->DeleteFile_Click();
    QCOMPARE(desk->files().size(), 4);
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("x"));
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("a"));
}

void DeleteCopyTest::enterAtTheRealQuestionDeletesNothing()
{
    QtDialogs realBoxes;
    const Platform &scripted = desk->desktop.platform;
    const Platform platform{
        realBoxes,        scripted.clipboard, scripted.tray,         scripted.help,
        scripted.process, scripted.screen,    scripted.programFolder};
    frmClip window(desk->state(), platform);
    window.flbText->setPath(desk->folder);
    window.flbText->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QString asked;
    QTimer enter;
    QObject::connect(&enter, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            asked = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    enter.start(20);
    window.DeleteFile_Click();
    QCOMPARE(asked, QStringLiteral("削除していいですか？"));
    QCOMPARE(desk->files().size(), 4);
}

void DeleteCopyTest::everySelectedEntryGoesAfterOneQuestion()
{
    desk->choose(QStringLiteral("b.txt"),
                 {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("d.txt")});
    desk->dialogs().nextResults = {MsgBoxResult::Ok};
    desk->window->DeleteFile_Click();
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->files(), QStringList{"c.txt"});
    QCOMPARE(desk->window->flbText->count(), 1);
    QVERIFY(desk->window->txtText->isEmpty());
    QCOMPARE(desk->window->lblST[0]->text(), QString());
    QCOMPARE(desk->window->lblST[1]->text(), QString());
    QCOMPARE(desk->window->CurrentFile, desk->folder + QStringLiteral("d.txt"));
    // Nothing is selected any more, so the single-file commands are back.
    QVERIFY(desk->window->cmdUwa->isEnabled());
    QVERIFY(desk->window->mnuRename2->isEnabled());
}

void DeleteCopyTest::aCurrentEntryNotSelectedDeletesNothingButEmptiesThePane()
{
    desk->choose(QStringLiteral("c.txt"));
    desk->write(QStringLiteral("e.txt"), "new\r\n");
    desk->window->CurrentFile = QStringLiteral("unchanged");
    desk->dialogs().nextResults = {MsgBoxResult::Ok};
    desk->window->DeleteFile_Click();
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->files().size(), 5);
    QCOMPARE(desk->window->flbText->count(), 5);
    QVERIFY(desk->window->txtText->isEmpty());
    QCOMPARE(desk->window->lblST[0]->text(), QString());
    QCOMPARE(desk->window->CurrentFile, QStringLiteral("unchanged"));
}

void DeleteCopyTest::withoutACurrentEntryNothingIsAsked()
{
    desk->window->flbText->setCurrentRow(-1);
    desk->window->DeleteFile_Click();
    QVERIFY(desk->dialogs().asked.isEmpty());
    QCOMPARE(desk->files().size(), 4);
}

void DeleteCopyTest::filesThatCannotGoAreNamedAndTheOthersGo()
{
    desk->choose(QStringLiteral("a.txt"),
                 {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    // b.txt has become a folder with a file in it since the list was read: no removal of a
    // file takes it away.
    QFile::remove(desk->folder + QStringLiteral("b.txt"));
    QDir().mkpath(desk->folder + QStringLiteral("b.txt"));
    desk->write(QStringLiteral("b.txt/inside"), "x");
    desk->dialogs().nextResults = {MsgBoxResult::Ok};
    desk->window->DeleteFile_Click();
    QCOMPARE(desk->dialogs().asked.size(), 2);
    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.title, QStringLiteral("ﾌｧｲﾙの削除"));
    QCOMPARE(failure.style, 16);
    QVERIFY(failure.text.contains(QStringLiteral("b.txt")));
    QVERIFY(!failure.text.contains(QStringLiteral("a.txt")));
    QCOMPARE(desk->files(), QStringList{"d.txt"});
    QVERIFY(desk->window->txtText->isEmpty());
}

void DeleteCopyTest::aReadOnlyFolderIsReported()
{
    if (!readOnlyFoldersStopWrites())
        QSKIP("this process may delete from read-only folders (it runs as root): "
              "tst_deletecopy_unprivileged runs this test as another user");
    desk->choose(QStringLiteral("a.txt"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    QFile::setPermissions(desk->folder, QFile::ReadOwner | QFile::ExeOwner);
    desk->dialogs().nextResults = {MsgBoxResult::Ok};
    desk->window->DeleteFile_Click();
    QFile::setPermissions(desk->folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.style, 16);
    QVERIFY(failure.text.contains(QStringLiteral("a.txt")));
    QVERIFY(failure.text.contains(QStringLiteral("b.txt")));
    QCOMPARE(desk->files().size(), 4);
}

void DeleteCopyTest::aFileRemovedMeanwhileIsNoFailure()
{
    desk->choose(QStringLiteral("a.txt"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    QFile::remove(desk->folder + QStringLiteral("a.txt"));
    desk->dialogs().nextResults = {MsgBoxResult::Ok};
    desk->window->DeleteFile_Click();
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->files(), (QStringList{"c.txt", "d.txt"}));
}

void DeleteCopyTest::everyDeleteControlAsks_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("the delete button") << "cmdDelete";
    QTest::newRow("the delete menu item") << "mnuDelete";
    QTest::newRow("the delete pop-up item") << "DeleteFile";
}

void DeleteCopyTest::everyDeleteControlAsks()
{
    QFETCH(QString, control);
    desk->dialogs().nextResults = {MsgBoxResult::Ok};
    if (control == QStringLiteral("cmdDelete"))
        desk->window->cmdDelete->click();
    else
        (control == QStringLiteral("mnuDelete") ? desk->window->mnuDelete
                                                : desk->window->DeleteFile)
            ->trigger();
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->files(), (QStringList{"b.txt", "c.txt", "d.txt"}));
}

void DeleteCopyTest::theCopyIsWhatTheCaptureAlreadyKnows_data()
{
    QTest::addColumn<bool>("fromTheMenu");
    QTest::newRow("from the button") << false;
    QTest::newRow("from the menu") << true;
}

void DeleteCopyTest::theCopyIsWhatTheCaptureAlreadyKnows()
{
    QFETCH(bool, fromTheMenu);
    desk->window->cmdStart_Click();
    QVERIFY(desk->window->Reading);
    desk->window->txtText->setText(QStringLiteral("編集した\r\n本文"));
    if (fromTheMenu)
        desk->window->mnuCopy->trigger();
    else
        desk->window->cmdCopy->click();
    // The clipboard's change report and a tick of the timer both look at the copy.
    QCoreApplication::processEvents();
    desk->window->Timer1_Timer();
    QCOMPARE(desk->desktop.clipboard.text(), QStringLiteral("編集した\r\n本文"));
    QCOMPARE(desk->window->LastClipText, desk->desktop.clipboard.text());
    QCOMPARE(desk->files().size(), 4);
}

void DeleteCopyTest::anEmptyPaneLeavesTheClipboardAlone()
{
    desk->desktop.clipboard.setText(QStringLiteral("someone else's"));
    desk->window->txtText->setText(QString());
    desk->window->LastClipText = QStringLiteral("seen");
    desk->window->cmdCopy_Click();
    QCOMPARE(desk->desktop.clipboard.text(), QStringLiteral("someone else's"));
    QCOMPARE(desk->window->LastClipText, QStringLiteral("seen"));
}

QTEST_MAIN(DeleteCopyTest)
#include "tst_deletecopy.moc"
