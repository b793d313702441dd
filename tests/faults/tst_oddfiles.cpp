#include "library/LibraryDesk.h"
#include "library/TextFileLoader.h"
#include "mock/ProcessLimits.h"
#include "ui/widgets/TextBox.h"

#include <QLabel>
#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{

// A reader that does not stop at the size limit runs into this bound and fails at once, instead
// of taking the machine's memory.
class MemoryBound
{
#ifndef QUILLBOX_ADDRESS_SANITIZER
    AddressSpaceLimit m_limit{quint64(768) << 20};
#endif
};

// A program that opens the named pipe for writing, and so lets a blocking open of it return,
// without writing anything. Whether anyone read the pipe or not, it is let go at the end.
class NamedPipeOpener
{
public:
    explicit NamedPipeOpener(const QString &path)
        : m_path(QFile::encodeName(path)), m_thread([this] {
              const int descriptor = ::open(m_path.constData(), O_WRONLY);
              if (descriptor >= 0)
                  ::close(descriptor);
          })
    {
    }
    ~NamedPipeOpener()
    {
        const int release = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        m_thread.join();
        if (release >= 0)
            ::close(release);
    }

private:
    QByteArray m_path;
    std::thread m_thread;
};

// Makes the file far larger than the pane takes as soon as the first part of it has been read:
// the progress bar's first move tells when.
class GrowAfterFirstChunk : public QObject
{
public:
    GrowAfterFirstChunk(QLabel *bar, const QString &path) : m_bar(bar), m_path(path)
    {
        bar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_bar && event->type() == QEvent::Resize && m_bar->isVisible() && !m_grown) {
            m_grown = true;
            QFile file(m_path);
            if (file.open(QIODevice::ReadWrite))
                file.resize(largestText + readChunkSize);
        }
        return false;
    }

private:
    QLabel *m_bar;
    QString m_path;
    bool m_grown = false;
};

enum Oddity { LinkToZeroDevice, NamedPipe, LinkToNamedPipe, GrowsWhileRead };

enum LinkCase { NoteLinksNowhere, NoteLinksOutside, MemoLinksOutside, MemoBecomesALink };

} // namespace

// Names in the folder that are not what they seem: links, devices, named pipes, files that
// change while the program reads them.
class OddFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void aNameThatIsNoFileToShowIsRefusedAndNothingWaits_data();
    void aNameThatIsNoFileToShowIsRefusedAndNothingWaits();
    void renameLooksAtNoDeviceForTheCodePage();
    void noCommandWritesThroughALink_data();
    void noCommandWritesThroughALink();

private:
    std::unique_ptr<LibraryDesk> desk;
};

void OddFilesTest::init()
{
    desk = std::make_unique<LibraryDesk>();
    desk->window->show();
}

void OddFilesTest::cleanup()
{
    desk.reset();
}

void OddFilesTest::aNameThatIsNoFileToShowIsRefusedAndNothingWaits_data()
{
    QTest::addColumn<int>("oddity");
    QTest::addColumn<QString>("told");
    QTest::newRow("a link to the zero device, which never ends")
        << int(LinkToZeroDevice) << QStringLiteral("ファイルではなく");
    QTest::newRow("a file swapped for a named pipe, whose open waits for a writer")
        << int(NamedPipe) << QStringLiteral("ファイルではなく");
    QTest::newRow("a link to a named pipe")
        << int(LinkToNamedPipe) << QStringLiteral("ファイルではなく");
    QTest::newRow("a file that grows past the limit while it is read")
        << int(GrowsWhileRead) << QStringLiteral("大きすぎる");
}

void OddFilesTest::aNameThatIsNoFileToShowIsRefusedAndNothingWaits()
{
    QFETCH(int, oddity);
    QFETCH(QString, told);
    const QString name = QStringLiteral("odd.txt");
    const QString path = desk->folder + name;
    const QString pipe = desk->desktop.folder.path() + QStringLiteral("/pipe");
    switch (Oddity(oddity)) {
    case LinkToZeroDevice:
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        break;
    case NamedPipe:
        desk->write(name, "x\r\n");
        break;
    case LinkToNamedPipe:
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(QFile::link(pipe, path));
        break;
    case GrowsWhileRead:
        desk->write(name, QByteArray(2 * readChunkSize, 'a'));
        break;
    }
    desk->window->txtText->setText(QStringLiteral("before"));
    desk->choose(name);
    QCOMPARE(desk->window->flbText->fileName(), name);
    if (oddity == NamedPipe) {
        // The list shows no named pipe, but a file may be swapped for one once it is listed.
        QVERIFY(QFile::remove(path));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    {
        std::optional<NamedPipeOpener> writer;
        if (oddity == NamedPipe || oddity == LinkToNamedPipe)
            writer.emplace(oddity == NamedPipe ? path : pipe);
        const GrowAfterFirstChunk grow(desk->window->lblSts, path);
        [[maybe_unused]] const MemoryBound bound;
        desk->window->flbText_MouseDown(1);
    }
    QCOMPARE(desk->window->txtText->text(), QStringLiteral("before"));
    QCOMPARE(desk->dialogs().asked.size(), 1);
    const ScriptedDialogs::Asked warning = desk->dialogs().asked.first();
    QCOMPARE(warning.style, 48);
    QCOMPARE(warning.title, QStringLiteral("警告"));
    QVERIFY2(warning.text.contains(name) && warning.text.contains(told), qPrintable(warning.text));
    QVERIFY(!desk->window->lblSts->isVisible());
    QCOMPARE(desk->window->flbText->cursor().shape(), Qt::ArrowCursor);
}

void OddFilesTest::renameLooksAtNoDeviceForTheCodePage()
{
    // Rename reads the old file to keep its code page; the file turns into a link to the zero
    // device while the name is asked for.
    desk->write(QStringLiteral("memo.txt"), "old\r\n");
    desk->load(QStringLiteral("memo.txt"));
    desk->edit(QStringLiteral("edited"));
    const QString memo = desk->folder + QStringLiteral("memo.txt");
    desk->dialogs().whileOpen = [&](const ScriptedDialogs::Asked &) {
        QFile::remove(memo);
        QFile::link(QStringLiteral("/dev/zero"), memo);
    };
    desk->dialogs().nextAnswers = {QStringLiteral("note")};
    {
        [[maybe_unused]] const MemoryBound bound;
        desk->window->mnuRename_Click();
    }
    QCOMPARE(desk->dialogs().asked.size(), 1);
    QCOMPARE(desk->read(QStringLiteral("note.txt")), QByteArray("edited\r\n"));
    QCOMPARE(desk->files(), QStringList{"note.txt"});
}

void OddFilesTest::noCommandWritesThroughALink_data()
{
    QTest::addColumn<int>("linkCase");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("save as onto a link to nowhere numbers on past it")
        << int(NoteLinksNowhere) << int(SaveAs) << "note"
        << "note 1.txt";
    QTest::newRow("save as onto a link to a file outside numbers on past it")
        << int(NoteLinksOutside) << int(SaveAs) << "note"
        << "note 1.txt";
    QTest::newRow("rename onto a link to nowhere numbers on past it")
        << int(NoteLinksNowhere) << int(Rename) << "note"
        << "note 1.txt";
    QTest::newRow("rename onto a link to a file outside numbers on past it")
        << int(NoteLinksOutside) << int(Rename) << "note"
        << "note 1.txt";
    QTest::newRow("overwrite save of a link is refused")
        << int(MemoLinksOutside) << int(OverwriteSave) << QString() << QString();
    QTest::newRow("rename of a link to its own name is refused")
        << int(MemoLinksOutside) << int(Rename) << "memo" << QString();
    QTest::newRow("rename of a link to another name takes only the link away")
        << int(MemoLinksOutside) << int(Rename) << "note"
        << "note.txt";
    QTest::newRow("overwrite save of a file that became a link since it was shown is refused")
        << int(MemoBecomesALink) << int(OverwriteSave) << QString() << QString();
}

void OddFilesTest::noCommandWritesThroughALink()
{
    QFETCH(int, linkCase);
    QFETCH(int, command);
    QFETCH(QString, answer);
    QFETCH(QString, written);
    const QString outside = desk->desktop.folder.path() + QStringLiteral("/outside/");
    QDir().mkpath(outside);
    QFile target(outside + QStringLiteral("target.txt"));
    QVERIFY(target.open(QIODevice::WriteOnly) && target.write("outside\r\n") == 9);
    target.close();
    const QString nowhere = outside + QStringLiteral("nowhere.txt");
    const QString memo = desk->folder + QStringLiteral("memo.txt");
    const QString note = desk->folder + QStringLiteral("note.txt");

    desk->write(QStringLiteral("memo.txt"), "old\r\n");
    if (linkCase == NoteLinksNowhere)
        QVERIFY(QFile::link(nowhere, note));
    if (linkCase == NoteLinksOutside)
        QVERIFY(QFile::link(target.fileName(), note));
    if (linkCase == MemoLinksOutside) {
        QFile::remove(memo);
        QVERIFY(QFile::link(target.fileName(), memo));
    }
    desk->load(QStringLiteral("memo.txt"));
    desk->edit(QStringLiteral("edited"));
    if (linkCase == MemoBecomesALink) {
        QFile::remove(memo);
        QVERIFY(QFile::link(target.fileName(), memo));
    }
    desk->dialogs().asked.clear();
    desk->dialogs().nextAnswers = {answer};
    runFileCommand(*desk->window, command);

    if (written.isEmpty()) {
        QVERIFY2(!desk->dialogs().asked.isEmpty(), "the command wrote without a word");
        const ScriptedDialogs::Asked failure = desk->dialogs().asked.last();
        QCOMPARE(failure.kind, QStringLiteral("message"));
        // A refusal, not a failure: the exclamation mark.
        QCOMPARE(failure.style, 48);
        QCOMPARE(failure.title, command == OverwriteSave ? QStringLiteral("上書き保存")
                                                         : QStringLiteral("ﾌｧｲﾙ名の変更"));
        QVERIFY2(failure.text.contains(QStringLiteral("リンク")), qPrintable(failure.text));
        QVERIFY(QFileInfo(memo).isSymLink());
    } else {
        QCOMPARE(desk->read(written), QByteArray("edited\r\n"));
        QVERIFY(!QFileInfo(desk->folder + written).isSymLink());
    }
    if (linkCase == NoteLinksNowhere || linkCase == NoteLinksOutside)
        QVERIFY(QFileInfo(note).isSymLink());
    if (linkCase == MemoLinksOutside && !written.isEmpty())
        QVERIFY(!QFileInfo(memo).isSymLink() && !QFileInfo::exists(memo));
    QFile outsideAfter(target.fileName());
    QVERIFY(outsideAfter.open(QIODevice::ReadOnly));
    QCOMPARE(outsideAfter.readAll(), QByteArray("outside\r\n"));
    QCOMPARE(QDir(outside).entryList(QDir::Files), QStringList{"target.txt"});
}

QTEST_MAIN(OddFilesTest)
#include "tst_oddfiles.moc"
