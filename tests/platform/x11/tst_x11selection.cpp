#include "ScriptedOwner.h"
#include "ui/platform/WatchedClipboard.h"
#include "ui/platform/x11/X11SelectionChannel.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>
#include <csignal>
#include <xcb/xcb.h>

using namespace std::chrono_literals;

namespace
{

// Another program that owns the clipboard, as xclip serving a text until a later copy takes over.
class Copier
{
public:
    explicit Copier(const QByteArray &text, const QString &selection = QStringLiteral("clipboard"))
    {
        m_file.open();
        m_file.write(text);
        m_file.flush();
        m_process.setStandardInputFile(m_file.fileName());
        m_process.start(QStringLiteral("xclip"),
                        {QStringLiteral("-quiet"), QStringLiteral("-selection"), selection,
                         QStringLiteral("-i")});
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

// Looks at the clipboard as soon as it reports a change, as the capture does: a request given up
// is followed at once by the next one.
void readOnEveryChange(WatchedClipboard &clipboard)
{
    QObject::connect(
        &clipboard, &Clipboard::changed, &clipboard, [&clipboard] { clipboard.holdsText(); },
        Qt::QueuedConnection);
}

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
    void aLateAnswerToARequestGivenUpIsNotTaken();
    void theIncrementsOfATransferGivenUpNeverMixIntoALaterOne();
    void anAnswerCountsAsTextOnlyWhenItIsTextToItsEnd_data();
    void anAnswerCountsAsTextOnlyWhenItIsTextToItsEnd();
    void aHugeListOfTypesIsCut();
    void aTextPastTheLimitIsGivenUpWhateverTheOwnerDoes_data();
    void aTextPastTheLimitIsGivenUpWhateverTheOwnerDoes();
    void aCopyIntoThePrimarySelectionIsNotHeard();

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
    Copier first(largeText(5 * 1000 * 1000));
    // The owner stops at its first piece, so that the newer copy comes while the transfer runs.
    const auto stop =
        connect(m_channel.get(), &SelectionChannel::dataArrived, this, [&first] { first.pause(); });
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.holdsText() && !pieces.isEmpty(), 5000);
    disconnect(stop);
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
    const auto stop = connect(m_channel.get(), &SelectionChannel::dataArrived, this,
                              [&copier] { copier.pause(); });
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.holdsText() && !pieces.isEmpty(), 5000);
    disconnect(stop);
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

void X11SelectionTest::aLateAnswerToARequestGivenUpIsNotTaken()
{
    QSignalSpy changes(m_channel.get(), &SelectionChannel::selectionChanged);
    ScriptedOwner::Script script;
    script.text = "claimed twice";
    script.answerDelayMs = 30;
    script.reclaimsOnce = true;
    ScriptedOwner owner(script);
    QTRY_VERIFY_WITH_TIMEOUT(!changes.isEmpty(), 5000);
    QSignalSpy offers(m_channel.get(), &SelectionChannel::typesOffered);
    WatchedClipboard clipboard(*m_channel, true);
    readOnEveryChange(clipboard);
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("claimed twice"));
    // Taken for the newer request, the late answer would read that request's empty property.
    for (const QList<QVariant> &offer : offers)
        QVERIFY(!offer.front().toStringList().isEmpty());
}

void X11SelectionTest::theIncrementsOfATransferGivenUpNeverMixIntoALaterOne()
{
    WatchedClipboard clipboard(*m_channel, true);
    readOnEveryChange(clipboard);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    // The first owner goes on handing over its increments, as long as the reader asks for them.
    ScriptedOwner::Script endless;
    endless.text = "first owner's increment ";
    endless.pieceBytes = 1000;
    endless.endless = true;
    ScriptedOwner first(endless);
    QTRY_VERIFY_WITH_TIMEOUT(!pieces.isEmpty(), 5000);
    Copier second("second");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("second"));
    ScriptedOwner::Script inIncrements;
    inIncrements.text = "the third text, in increments of five bytes";
    inIncrements.pieceBytes = 5;
    ScriptedOwner third(inIncrements);
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.text() != QStringLiteral("second"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text().toUtf8(), inIncrements.text);
}

void X11SelectionTest::anAnswerCountsAsTextOnlyWhenItIsTextToItsEnd_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("pieceBytes");
    QTest::addColumn<bool>("announcesPiecesEarly");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("holdsText");
    QTest::newRow("a notice whose property is not there yet does not end the increments")
        << 8 << 6 << true << QByteArray("announced too early, yet whole") << true;
    QTest::newRow("an empty text in increments is an empty text")
        << 8 << 6 << false << QByteArray() << true;
    QTest::newRow("an answer in 32-bit units is no text")
        << 32 << 0 << false << QByteArray("four bytes each") + '.' << false;
    QTest::newRow("an answer in 16-bit units is no text")
        << 16 << 0 << false << QByteArray("two bytes each") << false;
    QTest::newRow("increments in 16-bit units are no text")
        << 16 << 4 << false << QByteArray("two bytes each") << false;
}

void X11SelectionTest::anAnswerCountsAsTextOnlyWhenItIsTextToItsEnd()
{
    QFETCH(int, format);
    QFETCH(int, pieceBytes);
    QFETCH(bool, announcesPiecesEarly);
    QFETCH(QByteArray, text);
    QFETCH(bool, holdsText);
    WatchedClipboard clipboard(*m_channel, true);
    readOnEveryChange(clipboard);
    QSignalSpy notText(m_channel.get(), &SelectionChannel::dataNotText);
    ScriptedOwner::Script script;
    script.text = text;
    script.format = format;
    script.pieceBytes = pieceBytes;
    script.announcesPiecesEarly = announcesPiecesEarly;
    ScriptedOwner owner(script);
    if (holdsText) {
        QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
        QCOMPARE(clipboard.text().toUtf8(), text);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!notText.isEmpty(), 5000);
        QVERIFY(!clipboard.holdsText());
        QVERIFY(clipboard.text().isNull());
    }
}

void X11SelectionTest::aHugeListOfTypesIsCut()
{
    QSignalSpy offers(m_channel.get(), &SelectionChannel::typesOffered);
    WatchedClipboard clipboard(*m_channel, true);
    readOnEveryChange(clipboard);
    ScriptedOwner::Script script;
    script.text = "offered in thousands of types";
    script.madeUpTypes = 5000;
    ScriptedOwner owner(script);
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text().toUtf8(), script.text);
    QVERIFY(!offers.isEmpty());
    const QStringList types = offers.last().front().toStringList();
    QVERIFY2(types.size() <= 1024, qPrintable(QString::number(types.size())));
}

void X11SelectionTest::aTextPastTheLimitIsGivenUpWhateverTheOwnerDoes_data()
{
    QTest::addColumn<int>("pieceBytes");
    QTest::addColumn<bool>("endless");
    QTest::addColumn<int>("textBytes");
    QTest::newRow("increments without end") << 128 * 1024 << true << 1000;
    QTest::newRow("one value of many megabytes") << 0 << false << 24 * 1024 * 1024;
}

void X11SelectionTest::aTextPastTheLimitIsGivenUpWhateverTheOwnerDoes()
{
    QFETCH(int, pieceBytes);
    QFETCH(bool, endless);
    QFETCH(int, textBytes);
    constexpr qsizetype limit = 4 * 1024 * 1024;
    WatchedClipboard clipboard(*m_channel, true);
    clipboard.setTextLimit(limit);
    readOnEveryChange(clipboard);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    ScriptedOwner::Script script;
    script.text = largeText(textBytes);
    script.pieceBytes = pieceBytes;
    script.endless = endless;
    auto owner = std::make_unique<ScriptedOwner>(script);
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.textTooLarge(), 10000);
    QVERIFY(!clipboard.holdsText());
    qsizetype received = 0;
    for (const QList<QVariant> &piece : pieces) {
        const qsizetype size = piece.front().toByteArray().size();
        // Read in parts: no reply holds more than a part, whatever the owner wrote.
        QVERIFY2(size <= 1024 * 1024, qPrintable(QString::number(size)));
        received += size;
    }
    QVERIFY2(received <= limit + 1024 * 1024, qPrintable(QString::number(received)));
    // The owner is asked for nothing more: the one increment it may still write goes nowhere.
    const qsizetype taken = pieces.size();
    const int handedOver = owner->piecesHandedOver();
    QTest::qWait(300);
    QCOMPARE(pieces.size(), taken);
    QVERIFY(owner->piecesHandedOver() <= handedOver + 1);
    owner.reset();
    Copier next("the next copy");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("the next copy"));
    QVERIFY(!clipboard.textTooLarge());
}

void X11SelectionTest::aCopyIntoThePrimarySelectionIsNotHeard()
{
    WatchedClipboard clipboard(*m_channel, true);
    readOnEveryChange(clipboard);
    Copier before("copied before");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.text() == QStringLiteral("copied before"), 5000);
    QSignalSpy changes(m_channel.get(), &SelectionChannel::selectionChanged);
    Copier selected("only selected", QStringLiteral("primary"));
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const auto primaryOwned = [connection] {
        xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, XCB_ATOM_PRIMARY), nullptr);
        const bool owned = owner && owner->owner != XCB_NONE;
        free(owner);
        return owned;
    };
    QTRY_VERIFY_WITH_TIMEOUT(primaryOwned(), 5000);
    xcb_disconnect(connection);
    // The server reports changes in their order: one about the primary selection would come
    // before the copy that follows.
    Copier after("copied after");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.text() == QStringLiteral("copied after"), 5000);
    QCOMPARE(changes.size(), 1);
}

QTEST_GUILESS_MAIN(X11SelectionTest)
#include "tst_x11selection.moc"
