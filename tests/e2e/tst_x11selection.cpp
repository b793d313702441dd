#include "ui/clipboard/WatchedClipboard.h"
#include "ui/clipboard/X11SelectionChannel.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>
#include <csignal>

using namespace std::chrono_literals;

namespace
{

// Another program that owns the clipboard, as xclip serving a text until a later copy takes over.
class Copier
{
public:
    explicit Copier(const QByteArray &text)
    {
        m_file.open();
        m_file.write(text);
        m_file.flush();
        m_process.setStandardInputFile(m_file.fileName());
        m_process.start(QStringLiteral("xclip"),
                        {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                         QStringLiteral("clipboard"), QStringLiteral("-i")});
        m_process.waitForStarted();
    }
    ~Copier()
    {
        resume();
        m_process.kill();
        m_process.waitForFinished();
    }
    void pause() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(m_process.processId()), SIGCONT); }

private:
    QTemporaryFile m_file;
    QProcess m_process;
};

QByteArray largeText(qsizetype size)
{
    const QByteArray line =
        QStringLiteral("会議メモ: the review starts at ten, room 4B.\n").toUtf8();
    QByteArray text;
    while (text.size() < size)
        text.append(line);
    return text;
}

} // namespace

class X11SelectionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void aLargeTextArrivesWholeInPieces();
    void aNewerCopyReplacesTheTransferUnderWay();
    void anOwnerThatStopsMidwayFailsTheRead();
    void anOwnerThatExitsLeavesNoText();

private:
    std::unique_ptr<X11SelectionChannel> m_channel;
};

void X11SelectionTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (run through tests/e2e/on-private-desktop.sh)");
    m_channel = std::make_unique<X11SelectionChannel>();
    QVERIFY(m_channel->isConnected());
}

void X11SelectionTest::aLargeTextArrivesWholeInPieces()
{
    WatchedClipboard clipboard(*m_channel, true);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    const QByteArray text = largeText(5 * 1000 * 1000);
    Copier copier(text);
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 5000);
    QVERIFY(!clipboard.holdsText());
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 10000);
    QCOMPARE(clipboard.text().toUtf8(), text);
    // xclip hands a text this large over in increments, each one a piece.
    QVERIFY2(pieces.size() > 1, qPrintable(QString::number(pieces.size())));
}

void X11SelectionTest::aNewerCopyReplacesTheTransferUnderWay()
{
    WatchedClipboard clipboard(*m_channel, true);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    Copier first(largeText(5 * 1000 * 1000));
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.holdsText() && !pieces.isEmpty(), 5000);
    first.pause();
    Copier second("the newer text");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("the newer text"));
}

void X11SelectionTest::anOwnerThatStopsMidwayFailsTheRead()
{
    m_channel->setStallLimit(300ms);
    QSignalSpy failed(m_channel.get(), &SelectionChannel::transferFailed);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    WatchedClipboard clipboard(*m_channel, true);
    Copier copier(largeText(5 * 1000 * 1000));
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.holdsText() && !pieces.isEmpty(), 5000);
    copier.pause();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 3000);
    QVERIFY(!clipboard.holdsText());
    m_channel->setStallLimit(5s);
}

void X11SelectionTest::anOwnerThatExitsLeavesNoText()
{
    WatchedClipboard clipboard(*m_channel, true);
    auto copier = std::make_unique<Copier>("soon gone");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("soon gone"));
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    copier.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 5000);
    QVERIFY(!clipboard.holdsText());
    QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 2, 5000);
    QVERIFY(!clipboard.holdsText());
    QVERIFY(clipboard.text().isNull());
}

QTEST_GUILESS_MAIN(X11SelectionTest)
#include "tst_x11selection.moc"
