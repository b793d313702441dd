#include "ui/platform/wayland/PipeTransfer.h"

#include <QPointer>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

// The pipes through which the clipboard's data moves on Wayland, with the other program's end
// played by the test.
class PipeTransferTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aLargeOfferArrivesWholeInPieces_data();
    void aLargeOfferArrivesWholeInPieces();
    void anOfferThatBreaksOffEndsEarly();
    void aLargeCopyBackReachesASlowReaderWhole();
    void aReaderThatStopsTakingIsGivenUp_data();
    void aReaderThatStopsTakingIsGivenUp();
    void theWritersOfOneOwnerAreBounded();
};

namespace
{

constexpr qsizetype fiveMegabytes = 5 * 1000 * 1000;
// The writer's own limit, and time enough beyond it for the test to see it act.
constexpr int stallMs = 5000;
constexpr int stallSeenMs = stallMs + 3000;

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe()
    {
        if (read >= 0)
            ::close(read);
        if (write >= 0)
            ::close(write);
    }
    // Hands one end over to the code under test, which closes it.
    int giveRead() { return std::exchange(read, -1); }
    int giveWrite() { return std::exchange(write, -1); }
};

QByteArray largeText()
{
    QByteArray text;
    text.reserve(fiveMegabytes);
    for (int line = 0; text.size() < fiveMegabytes; ++line)
        text += "line " + QByteArray::number(line) + " of a copy too large for one pipe's buffer\n";
    text.truncate(fiveMegabytes);
    return text;
}

// Reads what the pipe holds now, without waiting. False once the writer has closed its end and
// everything has been read.
bool drain(int fd, QByteArray &into, qsizetype most = std::numeric_limits<qsizetype>::max())
{
    char buffer[65536];
    while (most > 0) {
        const ssize_t got = ::read(fd, buffer, std::size_t(std::min<qsizetype>(most, 65536)));
        if (got == 0)
            return false;
        if (got < 0)
            return true;
        into.append(buffer, got);
        most -= got;
    }
    return true;
}

} // namespace

void PipeTransferTest::aLargeOfferArrivesWholeInPieces_data()
{
    QTest::addColumn<qsizetype>("pieceSize");
    QTest::addColumn<int>("pauseMs");
    QTest::newRow("an owner that writes as fast as the pipe takes it") << qsizetype(1 << 20) << 0;
    QTest::newRow("an owner that hands over 64 KiB at a time, 5 ms apart")
        << qsizetype(64 << 10) << 5;
}

void PipeTransferTest::aLargeOfferArrivesWholeInPieces()
{
    QFETCH(qsizetype, pieceSize);
    QFETCH(int, pauseMs);
    const QByteArray text = largeText();
    Pipe pipe;
    PipeReader reader(pipe.giveRead());
    QByteArray arrived;
    qsizetype largestPiece = 0;
    connect(&reader, &PipeReader::dataArrived, this, [&](const QByteArray &piece) {
        arrived += piece;
        largestPiece = std::max(largestPiece, piece.size());
    });
    QSignalSpy ended(&reader, &PipeReader::ended);
    QSignalSpy failed(&reader, &PipeReader::failed);

    qsizetype written = 0;
    QTimer owner;
    owner.setInterval(pauseMs);
    connect(&owner, &QTimer::timeout, this, [&] {
        const qsizetype size = std::min(pieceSize, text.size() - written);
        const ssize_t put = ::write(pipe.write, text.constData() + written, std::size_t(size));
        if (put > 0)
            written += put;
        if (written == text.size()) {
            owner.stop();
            ::close(pipe.giveWrite());
        }
    });
    owner.start();
    QTRY_VERIFY_WITH_TIMEOUT(ended.count() == 1, 20000);
    QCOMPARE(failed.count(), 0);
    QCOMPARE(arrived.size(), text.size());
    QVERIFY2(arrived == text, "the pieces put together are the text, in order");
    QVERIFY2(largestPiece <= 1 << 20, "no piece is larger than one read");
    QTest::qWait(20);
    QCOMPARE(ended.count(), 1);
}

void PipeTransferTest::anOfferThatBreaksOffEndsEarly()
{
    Pipe pipe;
    PipeReader reader(pipe.giveRead());
    QByteArray arrived;
    connect(&reader, &PipeReader::dataArrived, this,
            [&](const QByteArray &piece) { arrived += piece; });
    QSignalSpy ended(&reader, &PipeReader::ended);
    QCOMPARE(::write(pipe.write, "half a te", 9), 9);
    ::close(pipe.giveWrite());
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(arrived, QByteArray("half a te"));
}

void PipeTransferTest::aLargeCopyBackReachesASlowReaderWhole()
{
    const QByteArray text = largeText();
    Pipe pipe;
    QObject owner;
    QPointer<PipeWriter> writer = new PipeWriter(pipe.giveWrite(), text, &owner);
    QByteArray taken;
    bool open = true;
    // 32 KiB every 2 ms, and once a pause of two seconds, still well within the stall limit.
    QTimer reader;
    reader.setInterval(2);
    connect(&reader, &QTimer::timeout, this, [&] {
        if (taken.size() >= 1 << 20 && taken.size() < (1 << 20) + (32 << 10)) {
            reader.stop();
            QTimer::singleShot(2000, &reader, qOverload<>(&QTimer::start));
        }
        open = drain(pipe.read, taken, 32 << 10);
        if (!open)
            reader.stop();
    });
    reader.start();
    QTRY_VERIFY_WITH_TIMEOUT(!open, 30000);
    QCOMPARE(taken.size(), text.size());
    QVERIFY2(taken == text, "the reader gets the text byte for byte");
    QTRY_VERIFY2(writer.isNull(), "the writer is gone once the text is out");
}

void PipeTransferTest::aReaderThatStopsTakingIsGivenUp_data()
{
    QTest::addColumn<bool>("wakeUps");
    QTest::newRow("a reader that never reads") << false;
    // A wake-up after which no byte went out counts for nothing: only bytes that leave do.
    QTest::newRow("a reader whose end keeps waking the writer without taking a byte") << true;
}

void PipeTransferTest::aReaderThatStopsTakingIsGivenUp()
{
    QFETCH(bool, wakeUps);
    Pipe pipe;
    QObject owner;
    QPointer<PipeWriter> writer = new PipeWriter(pipe.giveWrite(), largeText(), &owner);
    QTimer wake;
    wake.setInterval(200);
    connect(&wake, &QTimer::timeout, this, [&] {
        if (!writer)
            return;
        for (QSocketNotifier *notifier : writer->findChildren<QSocketNotifier *>()) {
            QEvent activity(QEvent::SockAct);
            QCoreApplication::sendEvent(notifier, &activity);
        }
    });
    if (wakeUps)
        wake.start();
    QTRY_VERIFY_WITH_TIMEOUT(writer.isNull(), stallSeenMs);
    QByteArray taken;
    QVERIFY2(!drain(pipe.read, taken), "the writer has closed its end");
    QVERIFY2(!taken.isEmpty() && taken.size() < fiveMegabytes,
             "the reader finds what the pipe held, then the end");
}

void PipeTransferTest::theWritersOfOneOwnerAreBounded()
{
    // Readers that take nothing, as many as a hostile program may open: each one's writer holds
    // a descriptor of the program's, which the captures need too.
    constexpr int readers = 40;
    std::vector<std::unique_ptr<Pipe>> pipes;
    QObject owner;
    const QByteArray text = largeText();
    for (int i = 0; i < readers; ++i) {
        pipes.push_back(std::make_unique<Pipe>());
        new PipeWriter(pipes.back()->giveWrite(), text, &owner);
    }
    QTest::qWait(50);
    std::vector<QByteArray> taken(readers);
    int open = 0;
    int refused = 0;
    for (int i = 0; i < readers; ++i) {
        const bool stillOpen = drain(pipes[std::size_t(i)]->read, taken[std::size_t(i)]);
        open += stillOpen;
        refused += !stillOpen && taken[std::size_t(i)].isEmpty();
    }
    QVERIFY2(open <= 8, qPrintable(QStringLiteral("%1 writers hold their pipes").arg(open)));
    QVERIFY(owner.findChildren<PipeWriter *>().size() <= 8);
    // A reader past the bound gets nothing at all rather than a text cut short, and those served
    // before it get the text whole.
    QCOMPARE(refused, readers - open);
    QTRY_VERIFY_WITH_TIMEOUT(!drain(pipes.front()->read, taken.front()), 20000);
    QVERIFY2(taken.front() == text, "the oldest reader gets the text whole");
}

QTEST_GUILESS_MAIN(PipeTransferTest)
#include "tst_pipetransfer.moc"
