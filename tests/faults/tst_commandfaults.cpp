#include "library/LibraryDesk.h"
#include "mock/Wine.h"
#include "ui/widgets/TextBox.h"

#include <QtTest>

namespace
{

QString titleOf(int command)
{
    return command == SaveAs ? QStringLiteral("名前を付けて保存") : QStringLiteral("ﾌｧｲﾙ名の変更");
}

} // namespace

// The file commands when the folder changes under them or the numbering runs out.
class CommandFaultsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void aFileRemovedUnderTheCommandLosesNothing_data();
    void aFileRemovedUnderTheCommandLosesNothing();
    void everyNumberTakenOverwritesNothing_data();
    void everyNumberTakenOverwritesNothing();

private:
    std::unique_ptr<LibraryDesk> desk;
};

void CommandFaultsTest::init()
{
    desk = std::make_unique<LibraryDesk>();
}

void CommandFaultsTest::cleanup()
{
    desk.reset();
}

void CommandFaultsTest::aFileRemovedUnderTheCommandLosesNothing_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");

    QTest::newRow("overwrite save writes the file anew")
        << int(OverwriteSave) << QString() << QStringLiteral("memo.txt");
    QTest::newRow("save as under the vanished name takes that name")
        << int(SaveAs) << QStringLiteral("memo.txt") << QStringLiteral("memo.txt");
    QTest::newRow("save as under another name writes that one")
        << int(SaveAs) << QStringLiteral("note") << QStringLiteral("note.txt");
    QTest::newRow("rename writes the new name though the old file is gone")
        << int(Rename) << QStringLiteral("note") << QStringLiteral("note.txt");
    QTest::newRow("rename to the vanished name writes it again")
        << int(Rename) << QStringLiteral("memo") << QStringLiteral("memo.txt");
}

void CommandFaultsTest::aFileRemovedUnderTheCommandLosesNothing()
{
    QFETCH(int, command);
    QFETCH(QString, answer);
    QFETCH(QString, written);
    desk->write(QStringLiteral("memo.txt"), "old\r\n");
    desk->write(QStringLiteral("other.txt"), "other\r\n");
    desk->load(QStringLiteral("memo.txt"));
    desk->edit(QStringLiteral("edited"));

    // Another program removes the file while the input box is open, or just before the save.
    const QString memo = desk->folder + QStringLiteral("memo.txt");
    if (command == OverwriteSave)
        QVERIFY(QFile::remove(memo));
    else
        desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &) { QFile::remove(memo); };
    desk->dialogs().nextAnswers = {answer};
    runFileCommand(*desk->window, command);

    QCOMPARE(desk->files(), (QStringList{written, QStringLiteral("other.txt")}));
    QCOMPARE(desk->read(written), QByteArray("edited\r\n"));
    QCOMPARE(desk->read(QStringLiteral("other.txt")), QByteArray("other\r\n"));
    for (const ScriptedDialogs::Asked &asked : desk->dialogs().asked)
        QCOMPARE(asked.kind, QStringLiteral("input"));
    QCOMPARE(desk->window->CurrentFile, desk->folder + written);
}

void CommandFaultsTest::everyNumberTakenOverwritesNothing_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("save as reports the full numbering") << int(SaveAs);
    QTest::newRow("rename reports it and keeps the old file") << int(Rename);
}

void CommandFaultsTest::everyNumberTakenOverwritesNothing()
{
    QFETCH(int, command);
    if (runsUnderWine())
        QSKIP("Wine takes many minutes for 32,768 files in one folder: the Linux run checks this.");
    // memo.txt and memo 1.txt to memo 32767.txt: the 16-bit counter has no number left.
    for (int counter = 0; counter <= 32767; ++counter) {
        const QString name =
            counter == 0 ? QStringLiteral("memo.txt") : QStringLiteral("memo %1.txt").arg(counter);
        QFile file(desk->folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        file.write(QByteArray::number(counter));
    }
    desk->write(QStringLiteral("source.txt"), "source\r\n");
    desk->load(QStringLiteral("source.txt"));
    desk->edit(QStringLiteral("pane"));
    desk->dialogs().nextAnswers = {QStringLiteral("memo")};
    runFileCommand(*desk->window, command);

    const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
    QCOMPARE(failure.kind, QStringLiteral("message"));
    QCOMPARE(failure.title, titleOf(command));
    QCOMPARE(failure.style, 16);
    QCOMPARE(desk->files().size(), 32768 + 1);
    QCOMPARE(desk->read(QStringLiteral("source.txt")), QByteArray("source\r\n"));
    QCOMPARE(desk->read(QStringLiteral("memo.txt")), QByteArray("0"));
    QCOMPARE(desk->read(QStringLiteral("memo 32767.txt")), QByteArray("32767"));
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("pane"));
}

QTEST_MAIN(CommandFaultsTest)
#include "tst_commandfaults.moc"
