#include "LibraryDesk.h"
#include "library/TextFileLoader.h"
#include "mock/ProcessLimits.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace
{

const QString saveAsTitle = QStringLiteral("名前を付けて保存");
const QString renameTitle = QStringLiteral("ﾌｧｲﾙ名の変更");

} // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void withoutACurrentEntryNothingHappens_data();
    void withoutACurrentEntryNothingHappens();
    void theInputBoxAsksWithoutLeavingTheTopLayer_data();
    void theInputBoxAsksWithoutLeavingTheTopLayer();
    void cancelWritesNothing_data();
    void cancelWritesNothing();
    void saveAsNumbersTakenNames_data();
    void saveAsNumbersTakenNames();
    void renameWritesThePaneUnderTheNewName_data();
    void renameWritesThePaneUnderTheNewName();
    void overwriteSaveWritesTheCapturedFormat_data();
    void overwriteSaveWritesTheCapturedFormat();
    void namesThatCannotBeUsedAreRefused_data();
    void namesThatCannotBeUsedAreRefused();
    void aWriteThatFailsLeavesTheOldContentsWhole_data();
    void aWriteThatFailsLeavesTheOldContentsWhole();
    void aReadOnlyFolderIsReportedAndChangesNothing_data();
    void aReadOnlyFolderIsReportedAndChangesNothing();
    void saveAsIntoAFolderRemovedMeanwhileIsReported();
    void renameOntoAFolderOfThatNameKeepsTheOldFile();
    void renameWhoseOldFileCannotGoTakesTheNewOneBack();
    void everyControlStartsItsCommand_data();
    void everyControlStartsItsCommand();
    void afterARenameNoOtherFileBecomesTheTarget();
    void aFileIsWrittenBackInTheCodePageItWasReadIn_data();
    void aFileIsWrittenBackInTheCodePageItWasReadIn();
    void onlyTheFileThePaneHoldsIsWrittenOver_data();
    void onlyTheFileThePaneHoldsIsWrittenOver();
    void aRenamedFileStaysThePanesFile();
    void overwriteKeepsWhoMayReadTheFile();

private:
    std::unique_ptr<LibraryDesk> desk;
};

void FileCommandsTest::init()
{
    desk = std::make_unique<LibraryDesk>();
    desk->write(QStringLiteral("memo.txt"), "old\r\n");
    desk->load(QStringLiteral("memo.txt"));
    desk->edit(QStringLiteral("新しい本文\r\n二行目"));
}

void FileCommandsTest::cleanup()
{
    desk.reset();
}

void FileCommandsTest::withoutACurrentEntryNothingHappens_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("overwrite save") << int(OverwriteSave);
    QTest::newRow("save as") << int(SaveAs);
    QTest::newRow("rename") << int(Rename);
}

void FileCommandsTest::withoutACurrentEntryNothingHappens()
{
    QFETCH(int, command);
    desk->window->flbText->setCurrentRow(-1);
    runFileCommand(*desk->window, command);
    QVERIFY(desk->dialogs().asked.isEmpty());
    QCOMPARE(desk->files(), QStringList{"memo.txt"});
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
}

void FileCommandsTest::theInputBoxAsksWithoutLeavingTheTopLayer_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::newRow("save as") << int(SaveAs) << saveAsTitle;
    QTest::newRow("rename") << int(Rename) << renameTitle;
}

void FileCommandsTest::theInputBoxAsksWithoutLeavingTheTopLayer()
{
    QFETCH(int, command);
    QFETCH(QString, title);
    desk->state().Settings[7] = -1;
    desk->window->SetTopmost(-1);
    bool topmostWhileOpen = false;
    desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &) {
        topmostWhileOpen = desk->window->windowFlags() & Qt::WindowStaysOnTopHint;
    };
    desk->dialogs().nextAnswers = {QString()};
    runFileCommand(*desk->window, command);
    QCOMPARE(desk->dialogs().asked.size(), 1);
    const ScriptedDialogs::Asked input = desk->dialogs().asked.first();
    QCOMPARE(input.kind, QStringLiteral("input"));
    QCOMPARE(input.text, QStringLiteral("ファイル名を入力してください"));
    QCOMPARE(input.title, title);
    QCOMPARE(input.defaultAnswer, QStringLiteral("memo.txt"));
    QVERIFY(topmostWhileOpen);
}

void FileCommandsTest::cancelWritesNothing_data()
{
    theInputBoxAsksWithoutLeavingTheTopLayer_data();
}

void FileCommandsTest::cancelWritesNothing()
{
    QFETCH(int, command);
    desk->dialogs().nextAnswers = {QString()};
    desk->window->CurrentFile = QStringLiteral("elsewhere");
    runFileCommand(*desk->window, command);
    QCOMPARE(desk->files(), QStringList{"memo.txt"});
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
    QCOMPARE(desk->window->CurrentFile, desk->folder + QStringLiteral("memo.txt"));
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("memo"));
}

void FileCommandsTest::saveAsNumbersTakenNames_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("the default answer beside itself gives memo 1.txt")
        << QStringList() << "memo.txt"
        << "memo 1.txt";
    QTest::newRow("memo with memo.txt and memo 1.txt taken gives memo 2.txt")
        << QStringList{"memo 1.txt"} << "memo"
        << "memo 2.txt";
    QTest::newRow("another extension becomes .txt") << QStringList() << "note.doc"
                                                    << "note.txt";
    QTest::newRow("a Japanese name is kept") << QStringList() << "会議メモ"
                                             << "会議メモ.txt";
}

void FileCommandsTest::saveAsNumbersTakenNames()
{
    QFETCH(QStringList, present);
    QFETCH(QString, answer);
    QFETCH(QString, written);
    for (const QString &name : present)
        desk->write(name, "taken\r\n");
    desk->dialogs().nextAnswers = {answer};
    desk->window->mnuName_Click();
    QCOMPARE(desk->read(written), QByteArray("新しい本文\r\n二行目\r\n"));
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
    for (const QString &name : present)
        QCOMPARE(desk->read(name), QByteArray("taken\r\n"));
    QCOMPARE(desk->window->CurrentFile, desk->folder + written);
    QCOMPARE(desk->window->lblST[0]->text(), QString());
    QCOMPARE(desk->window->flbText->count(), int(present.size()) + 2);
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("新しい本文\r\n二行目"));
}

void FileCommandsTest::renameWritesThePaneUnderTheNewName_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("written");
    QTest::newRow("to another name the old file goes")
        << QStringList() << "note" << QStringList{"note.txt"} << "note.txt";
    QTest::newRow("to its own name the file is rewritten in place")
        << QStringList() << "memo.txt" << QStringList{"memo.txt"} << "memo.txt";
    QTest::newRow("to its own name beside a numbered one it stays unnumbered")
        << QStringList{"memo 1.txt"} << "memo" << QStringList{"memo 1.txt", "memo.txt"}
        << "memo.txt";
    QTest::newRow("onto a taken name the new file is numbered")
        << QStringList{"note.txt"} << "note" << QStringList{"note 1.txt", "note.txt"}
        << "note 1.txt";
}

void FileCommandsTest::renameWritesThePaneUnderTheNewName()
{
    QFETCH(QStringList, present);
    QFETCH(QString, answer);
    QFETCH(QStringList, after);
    QFETCH(QString, written);
    for (const QString &name : present)
        desk->write(name, "taken\r\n");
    desk->dialogs().nextAnswers = {answer};
    desk->window->mnuRename_Click();
    QCOMPARE(desk->files(), after);
    QCOMPARE(desk->read(written), QByteArray("新しい本文\r\n二行目\r\n"));
    for (const QString &name : present)
        QCOMPARE(desk->read(name), QByteArray("taken\r\n"));
    QCOMPARE(desk->window->CurrentFile, desk->folder + written);
    QCOMPARE(desk->window->lblST[0]->text(), QString());
    QCOMPARE(desk->window->flbText->count(), int(after.size()));
}

void FileCommandsTest::overwriteSaveWritesTheCapturedFormat_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("an unedited file of CR LF lines keeps its bytes")
        << QByteArray("一行目\r\n二行目\r\n") << QByteArray("一行目\r\n二行目\r\n");
    QTest::newRow("an unedited file with line feeds inside keeps its bytes")
        << QByteArray("a\nb\r\nc\r\n") << QByteArray("a\nb\r\nc\r\n");
    QTest::newRow("a last line without a line end gains CR LF")
        << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n");
    QTest::newRow("an empty file becomes one CR LF") << QByteArray() << QByteArray("\r\n");
}

void FileCommandsTest::overwriteSaveWritesTheCapturedFormat()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    desk->write(QStringLiteral("file.txt"), before);
    desk->load(QStringLiteral("file.txt"));
    desk->window->mnuUwa_Click();
    QCOMPARE(desk->read(QStringLiteral("file.txt")), after);
    QCOMPARE(desk->window->CurrentFile, desk->folder + QStringLiteral("file.txt"));
    QCOMPARE(desk->window->lblST[0]->text(), QString());
    QVERIFY(desk->dialogs().asked.isEmpty());
}

void FileCommandsTest::namesThatCannotBeUsedAreRefused_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answer");
    for (const auto &[command, title] : {std::pair{int(SaveAs), QStringLiteral("save as")},
                                         std::pair{int(Rename), QStringLiteral("rename")}}) {
        const QByteArray prefix = title.toUtf8();
        QTest::newRow(prefix + ": a name in a subfolder") << command << "sub/name";
        QTest::newRow(prefix + ": a name in the folder above") << command << "../up";
        QTest::newRow(prefix + ": a Windows separator") << command << "..\\up";
        QTest::newRow(prefix + ": a device name of Windows") << command << "CON";
        QTest::newRow(prefix + ": a colon") << command << "a:b";
    }
}

void FileCommandsTest::namesThatCannotBeUsedAreRefused()
{
    QFETCH(int, command);
    QFETCH(QString, answer);
    QDir().mkpath(desk->folder + QStringLiteral("sub"));
    const QStringList above = QDir(desk->folder + QStringLiteral("..")).entryList(QDir::Files);
    desk->dialogs().nextAnswers = {answer};
    runFileCommand(*desk->window, command);
    QCOMPARE(desk->dialogs().asked.size(), 2);
    const ScriptedDialogs::Asked refusal = desk->dialogs().asked.last();
    QCOMPARE(refusal.title, command == SaveAs ? saveAsTitle : renameTitle);
    QCOMPARE(refusal.style, 16);
    QVERIFY(refusal.text.contains(answer));
    QCOMPARE(desk->files(), QStringList{"memo.txt"});
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
    QVERIFY(QDir(desk->folder + QStringLiteral("sub")).isEmpty());
    QCOMPARE(QDir(desk->folder + QStringLiteral("..")).entryList(QDir::Files), above);
}

void FileCommandsTest::aWriteThatFailsLeavesTheOldContentsWhole_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");
    QTest::newRow("overwrite save") << int(OverwriteSave) << QString() << "上書き保存";
    QTest::newRow("save as") << int(SaveAs) << "note" << saveAsTitle;
    QTest::newRow("rename to another name") << int(Rename) << "note" << renameTitle;
    QTest::newRow("rename to its own name") << int(Rename) << "memo" << renameTitle;
}

void FileCommandsTest::aWriteThatFailsLeavesTheOldContentsWhole()
{
    QFETCH(int, command);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    const QString tooLong(64 * 1024, u'長');
    desk->edit(tooLong);
    desk->dialogs().nextAnswers = {answer};
    if (!FileSizeLimit::isAvailable())
        QSKIP("This system sets no file-size limit on a process to stand in for a full disk.");
    {
        const FileSizeLimit limit(4096);
        runFileCommand(*desk->window, command);
    }
    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.kind, QStringLiteral("message"));
    QCOMPARE(failure.title, title);
    QCOMPARE(failure.style, 16);
    // A file-size limit is no full disk.
    QVERIFY2(failure.text.endsWith(QStringLiteral("\nファイルに書き込めませんでした。")),
             qPrintable(failure.text));
    QCOMPARE(desk->files(), QStringList{"memo.txt"});
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
    QCOMPARE(desk->window->txtText->text(), tooLong);
    QCOMPARE(desk->window->lblST[0]->text(), QStringLiteral("memo"));

    // The program goes on: the same command succeeds once the writes may succeed.
    desk->dialogs().asked.clear();
    desk->dialogs().nextAnswers = {answer};
    runFileCommand(*desk->window, command);
    for (const ScriptedDialogs::Asked &asked : std::as_const(desk->dialogs().asked))
        QCOMPARE(asked.kind, QStringLiteral("input"));
    const QString written = command == SaveAs || answer == QStringLiteral("note")
                                ? QStringLiteral("note.txt")
                                : QStringLiteral("memo.txt");
    QCOMPARE(desk->read(written).size(), (tooLong + QStringLiteral("\r\n")).toUtf8().size());
}

void FileCommandsTest::aReadOnlyFolderIsReportedAndChangesNothing_data()
{
    aWriteThatFailsLeavesTheOldContentsWhole_data();
}

void FileCommandsTest::aReadOnlyFolderIsReportedAndChangesNothing()
{
    QFETCH(int, command);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    if (!readOnlyFoldersStopWrites())
        QSKIP("this process may write into read-only folders (it runs as root): "
              "tst_filecommands_unprivileged runs this test as another user");
    QFile::setPermissions(desk->folder, QFile::ReadOwner | QFile::ExeOwner);
    desk->dialogs().nextAnswers = {answer};
    runFileCommand(*desk->window, command);
    QFile::setPermissions(desk->folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(desk->dialogs().asked.last().title, title);
    QCOMPARE(desk->dialogs().asked.last().style, 16);
    QCOMPARE(desk->files(), QStringList{"memo.txt"});
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
}

void FileCommandsTest::saveAsIntoAFolderRemovedMeanwhileIsReported()
{
    desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &asked) {
        if (asked.kind == QStringLiteral("input"))
            QDir(desk->folder).removeRecursively();
    };
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    desk->window->mnuName_Click();
    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.title, saveAsTitle);
    QCOMPARE(failure.style, 16);
    QVERIFY(failure.text.contains(QStringLiteral("見つかりません")));
    QVERIFY(!QFileInfo::exists(desk->folder));
    QCOMPARE(QDir(desk->desktop.folder.path()).entryList(QDir::Files), QStringList());
}

void FileCommandsTest::renameOntoAFolderOfThatNameKeepsTheOldFile()
{
    QDir().mkpath(desk->folder + QStringLiteral("note.txt"));
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    desk->window->mnuRename_Click();
    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.title, renameTitle);
    QCOMPARE(failure.style, 16);
    QVERIFY(failure.text.contains(QStringLiteral("フォルダー")));
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("old\r\n"));
    QVERIFY(QFileInfo(desk->folder + QStringLiteral("note.txt")).isDir());
    QCOMPARE(desk->window->CurrentFile, desk->folder + QStringLiteral("memo.txt"));
}

void FileCommandsTest::renameWhoseOldFileCannotGoTakesTheNewOneBack()
{
    // While the box is open the old name comes to hold a folder with a file in it, which no
    // file removal takes away.
    desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &asked) {
        if (asked.kind != QStringLiteral("input"))
            return;
        QFile::remove(desk->folder + QStringLiteral("memo.txt"));
        QDir().mkpath(desk->folder + QStringLiteral("memo.txt"));
        desk->write(QStringLiteral("memo.txt/inside"), "x");
    };
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    desk->window->mnuRename_Click();
    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.title, renameTitle);
    QCOMPARE(failure.style, 16);
    QVERIFY(!desk->exists(QStringLiteral("note.txt")));
    QCOMPARE(desk->files(), QStringList());
}

void FileCommandsTest::everyControlStartsItsCommand_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("inputTitle");
    QTest::newRow("the overwrite button") << "cmdUwa" << QString();
    QTest::newRow("the overwrite menu item") << "mnuUwa" << QString();
    QTest::newRow("the overwrite pop-up item") << "mnuUwa2" << QString();
    QTest::newRow("the save as button") << "cmdName" << saveAsTitle;
    QTest::newRow("the save as menu item") << "mnuName" << saveAsTitle;
    QTest::newRow("the save as pop-up item") << "mnuName2" << saveAsTitle;
    QTest::newRow("the rename button") << "cmdReName" << renameTitle;
    QTest::newRow("the rename menu item") << "mnuRename" << renameTitle;
    QTest::newRow("the rename pop-up item") << "mnuRename2" << renameTitle;
}

void FileCommandsTest::everyControlStartsItsCommand()
{
    QFETCH(QString, control);
    QFETCH(QString, inputTitle);
    frmClip &w = *desk->window;
    const QHash<QString, QPushButton *> buttons = {
        {"cmdUwa", w.cmdUwa}, {"cmdName", w.cmdName}, {"cmdReName", w.cmdReName}};
    const QHash<QString, QAction *> items = {
        {"mnuUwa", w.mnuUwa},     {"mnuUwa2", w.mnuUwa2},     {"mnuName", w.mnuName},
        {"mnuName2", w.mnuName2}, {"mnuRename", w.mnuRename}, {"mnuRename2", w.mnuRename2}};
    desk->dialogs().nextAnswers = {QStringLiteral("copy")};
    if (buttons.contains(control))
        buttons.value(control)->click();
    else
        items.value(control)->trigger();
    const QByteArray text("新しい本文\r\n二行目\r\n");
    if (inputTitle.isEmpty()) {
        QVERIFY(desk->dialogs().asked.isEmpty());
        QCOMPARE(desk->read(QStringLiteral("memo.txt")), text);
        return;
    }
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->dialogs().asked.first().title, inputTitle);
    QCOMPARE(desk->read(QStringLiteral("copy.txt")), text);
    QCOMPARE(desk->exists(QStringLiteral("memo.txt")), inputTitle == saveAsTitle);
}

void FileCommandsTest::afterARenameNoOtherFileBecomesTheTarget()
{
    desk->write(QStringLiteral("another.txt"), "keep\r\n");
    desk->choose(QStringLiteral("memo.txt"), {QStringLiteral("memo.txt")});
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    desk->window->mnuRename_Click();
    // The focus comes back to the list when the box closes.
    QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(desk->window->flbText, &focusBack);
    QCOMPARE(desk->window->flbText->fileName(), QString());
    desk->window->mnuUwa_Click();
    QCOMPARE(desk->read(QStringLiteral("another.txt")), QByteArray("keep\r\n"));
}

void FileCommandsTest::aFileIsWrittenBackInTheCodePageItWasReadIn_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("after");
    const QByteArray nihongo("\x93\xFA\x96\x7B\x8C\xEA");
    const QByteArray tekisuto("\x83\x65\x83\x4C\x83\x58\x83\x67");
    const QByteArray unreadable("a\x81\x20"
                                "b\r\n");
    const int noQuestion = 0;
    QTest::newRow("overwrite save writes a code page 932 file back in 932")
        << int(OverwriteSave) << nihongo + "\r\n"
        << QStringLiteral("日本語テキスト") << noQuestion << "memo.txt"
        << nihongo + tekisuto + "\r\n";
    QTest::newRow("rename keeps a code page 932 file in 932 under its new name")
        << int(Rename) << nihongo + "\r\n"
        << QStringLiteral("日本語テキスト") << noQuestion << "note.txt"
        << nihongo + tekisuto + "\r\n";
    QTest::newRow("a UTF-8 file stays UTF-8")
        << int(OverwriteSave) << QByteArray("日本語\r\n") << QStringLiteral("日本語テキスト")
        << noQuestion << "memo.txt" << QByteArray("日本語テキスト\r\n");
    QTest::newRow("a paragraph separator and frame markers typed into the pane are kept")
        << int(OverwriteSave) << QByteArray("日本語\r\n")
        << QStringLiteral("a\u2029b\uFDD0c\uFDD1d") << noQuestion << "memo.txt"
        << QStringLiteral("a\u2029b\uFDD0c\uFDD1d\r\n").toUtf8();
    QTest::newRow("a 932 file whose new text 932 cannot hold is written as UTF-8 with a mark")
        << int(OverwriteSave) << nihongo + "\r\n"
        << QStringLiteral("日本語😀") << noQuestion << "memo.txt"
        << QByteArray("\xEF\xBB\xBF日本語😀\r\n");
    QTest::newRow("a file neither UTF-8 nor 932 is overwritten after OK")
        << int(OverwriteSave) << unreadable << QStringLiteral("new") << MsgBoxResult::Ok
        << "memo.txt" << QByteArray("new\r\n");
    QTest::newRow("a file neither UTF-8 nor 932 keeps its bytes when overwrite is cancelled")
        << int(OverwriteSave) << unreadable << QStringLiteral("new") << MsgBoxResult::Cancel
        << "memo.txt" << unreadable;
    QTest::newRow("a file neither UTF-8 nor 932 keeps its bytes when rename is cancelled")
        << int(Rename) << unreadable << QStringLiteral("new") << MsgBoxResult::Cancel << "memo.txt"
        << unreadable;
}

void FileCommandsTest::aFileIsWrittenBackInTheCodePageItWasReadIn()
{
    QFETCH(int, command);
    QFETCH(QByteArray, before);
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(QString, written);
    QFETCH(QByteArray, after);
    desk->write(QStringLiteral("memo.txt"), before);
    desk->load(QStringLiteral("memo.txt"));
    desk->edit(text);
    desk->dialogs().asked.clear();
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    if (answer != 0)
        desk->dialogs().nextResults = {answer};
    runFileCommand(*desk->window, command);
    QCOMPARE(desk->read(written), after);
    QList<ScriptedDialogs::Asked> questions;
    for (const ScriptedDialogs::Asked &asked : desk->dialogs().asked)
        if (asked.kind == u"message")
            questions << asked;
    QCOMPARE(questions.size(), answer == 0 ? 0 : 1);
    if (answer != 0) {
        QCOMPARE(questions.first().style, 33);
        QCOMPARE(questions.first().title,
                 command == OverwriteSave ? QStringLiteral("上書き保存") : renameTitle);
        QVERIFY(questions.first().text.contains(QStringLiteral("memo.txt")));
    }
}

void FileCommandsTest::onlyTheFileThePaneHoldsIsWrittenOver_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("happening");
    const QStringList happenings = {
        QStringLiteral("a press on a file too large to show"),
        QStringLiteral("a press on a file removed since the list was read"),
        QStringLiteral("a right press on another file"),
        QStringLiteral("a capture shown in the pane"),
        QStringLiteral("a deletion that emptied the pane"),
    };
    for (const QString &happening : happenings) {
        QTest::addRow("overwrite save after %s", qPrintable(happening))
            << int(OverwriteSave) << happening;
        QTest::addRow("rename after %s", qPrintable(happening)) << int(Rename) << happening;
    }
}

void FileCommandsTest::onlyTheFileThePaneHoldsIsWrittenOver()
{
    QFETCH(int, command);
    QFETCH(QString, happening);
    // The pane holds memo.txt, edited; then the list's current entry comes to name another file,
    // or the pane comes to hold a text of no file.
    QFile big(desk->folder + QStringLiteral("big.txt"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(largestText + 1));
    big.close();
    desk->write(QStringLiteral("other.txt"), "other\r\n");
    desk->write(QStringLiteral("gone.txt"), "gone\r\n");
    QString current = QStringLiteral("memo.txt");
    if (happening.contains(QStringLiteral("too large"))) {
        current = QStringLiteral("big.txt");
        desk->load(current);
    } else if (happening.contains(QStringLiteral("removed"))) {
        current = QStringLiteral("gone.txt");
        desk->choose(current, {current});
        QFile::remove(desk->folder + current);
        desk->window->flbText_MouseDown(1);
    } else if (happening.contains(QStringLiteral("right press"))) {
        current = QStringLiteral("other.txt");
        desk->choose(current, {current});
        desk->window->flbText_MouseDown(2);
        desk->window->pop->hide();
    } else if (happening.contains(QStringLiteral("capture"))) {
        desk->window->cmdStart_Click();
        desk->desktop.clipboard.setText(QStringLiteral("captured"));
        desk->window->Timer1_Timer();
        desk->window->cmdStart_Click();
        QCOMPARE(desk->window->txtText->text(), QStringLiteral("captured"));
    } else {
        desk->choose(current);
        desk->dialogs().nextResults = {MsgBoxResult::Ok};
        desk->window->DeleteFile_Click();
        QVERIFY(desk->window->txtText->isEmpty());
    }
    QCOMPARE(desk->window->flbText->fileName(), current);
    const QStringList before = desk->files();
    QHash<QString, QByteArray> contents;
    for (const QString &name : before)
        if (name != u"big.txt")
            contents[name] = desk->read(name);
    desk->dialogs().asked.clear();
    desk->dialogs().nextAnswers = {QStringLiteral("note")};

    runFileCommand(*desk->window, command);
    QCOMPARE(desk->dialogs().asked.size(), 1);
    const ScriptedDialogs::Asked refusal = desk->dialogs().asked.first();
    QCOMPARE(refusal.kind, QStringLiteral("message"));
    QCOMPARE(refusal.style, 48);
    QCOMPARE(refusal.title, command == OverwriteSave ? QStringLiteral("上書き保存") : renameTitle);
    QVERIFY2(refusal.text.contains(current), qPrintable(refusal.text));
    QCOMPARE(desk->files(), before);
    for (auto it = contents.cbegin(); it != contents.cend(); ++it)
        QCOMPARE(desk->read(it.key()), it.value());
    QCOMPARE(QFileInfo(big.fileName()).size(), largestText + 1);
}

void FileCommandsTest::aRenamedFileStaysThePanesFile()
{
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    desk->window->mnuRename_Click();
    desk->choose(QStringLiteral("note.txt"));
    desk->edit(QStringLiteral("edited after the rename"));
    desk->window->mnuUwa_Click();
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->read(QStringLiteral("note.txt")), QByteArray("edited after the rename\r\n"));
}

void FileCommandsTest::overwriteKeepsWhoMayReadTheFile()
{
#ifndef Q_OS_UNIX
    QSKIP("Windows keeps who may read a file in its access list, of which Qt reports no owner-only "
          "permissions.");
#endif
    const QString memo = desk->folder + QStringLiteral("memo.txt");
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    QVERIFY(QFile::setPermissions(memo, ownerOnly));
    desk->window->mnuUwa_Click();
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("新しい本文\r\n二行目\r\n"));
    QCOMPARE(QFile::permissions(memo) & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);
}

QTEST_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
