#include "mock/FakeSelectionChannel.h"
#include "ui/platform/WatchedClipboard.h"

#include <QSignalSpy>
#include <QtTest>

using namespace std::chrono_literals;

class WatchedClipboardTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aTextInPiecesIsSeenOnlyWhenWhole();
    void theTextIsReadInTheBestOfferedType_data();
    void theTextIsReadInTheBestOfferedType();
    void theTextIsKeptAsItCame_data();
    void theTextIsKeptAsItCame();
    void aNewerChangeGivesUpTheReadUnderWay();
    void whatCannotBeTakenAsTextIsNotReadAgainUntilTheNextChange_data();
    void whatCannotBeTakenAsTextIsNotReadAgainUntilTheNextChange();
    void aStalledTransferEndsQuietlyAndIsTriedAgainAtTheNextTick();
    void aTransferThatStallsAgainIsNotTriedUntilTheNextChange();
    void aSecretIsNeverRead_data();
    void aSecretIsNeverRead();
    void aHintWithoutEndIsNoHint();
    void nothingIsReadUntilSomebodyLooks();
};

void WatchedClipboardTest::aTextInPiecesIsSeenOnlyWhenWhole()
{
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    channel.change();
    QVERIFY(!clipboard.holdsText());
    channel.offer({QStringLiteral("TARGETS"), QStringLiteral("UTF8_STRING")});
    const QByteArray text = QStringLiteral("会議メモ: ten o'clock\r\nroom 4B").toUtf8();
    // The first piece ends inside a character.
    channel.send(text.left(4));
    channel.send(text.mid(4, 10));
    QVERIFY(!clipboard.holdsText());
    QCOMPARE(changed.count(), 1);
    channel.send(text.mid(14));
    channel.end();
    QCOMPARE(changed.count(), 2);
    QVERIFY(clipboard.holdsText());
    QCOMPARE(clipboard.text(), QString::fromUtf8(text));
    QCOMPARE(channel.requests,
             QStringList({QStringLiteral("types"), QStringLiteral("UTF8_STRING")}));
}

void WatchedClipboardTest::theTextIsReadInTheBestOfferedType_data()
{
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8 by its Wayland name before its X11 name")
        << QStringList{QStringLiteral("UTF8_STRING"), QStringLiteral("text/plain;charset=utf-8")}
        << QStringLiteral("text/plain;charset=utf-8") << QByteArray("\xc3\xa9t\xc3\xa9")
        << QStringLiteral("été");
    QTest::newRow("a charset in capitals is the same type")
        << QStringList{QStringLiteral("text/plain"), QStringLiteral("text/plain;charset=UTF-8")}
        << QStringLiteral("text/plain;charset=UTF-8") << QByteArray("memo")
        << QStringLiteral("memo");
    QTest::newRow("plain text before Latin-1")
        << QStringList{QStringLiteral("STRING"), QStringLiteral("text/plain")}
        << QStringLiteral("text/plain") << QByteArray("\xe6\x97\xa5") << QStringLiteral("日");
    QTest::newRow("Latin-1 alone is read as Latin-1")
        << QStringList{QStringLiteral("TARGETS"), QStringLiteral("STRING")}
        << QStringLiteral("STRING") << QByteArray("caf\xe9") << QStringLiteral("café");
}

void WatchedClipboardTest::theTextIsReadInTheBestOfferedType()
{
    QFETCH(QStringList, offered);
    QFETCH(QString, read);
    QFETCH(QByteArray, bytes);
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    channel.change();
    clipboard.holdsText();
    channel.offer(offered);
    QCOMPARE(channel.requests.last(), read);
    channel.send(bytes);
    channel.end();
    QVERIFY(clipboard.holdsText());
    QTEST(clipboard.text(), "text");
}

void WatchedClipboardTest::theTextIsKeptAsItCame_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("a byte order mark at the start stays")
        << QByteArray("\xef\xbb\xbfmemo") << QStringLiteral("\ufeffmemo");
    QTest::newRow("a NUL at the end stays")
        << QByteArray("memo\0\0", 6) << QStringLiteral("memo") + QChar(0) + QChar(0);
    QTest::newRow("a character cut short at the end becomes a replacement character")
        << QByteArray("memo \xe6\x97") << QStringLiteral("memo \ufffd");
    QTest::newRow("malformed bytes inside become replacement characters")
        << QByteArray("me\xffmo") << QStringLiteral("me\ufffdmo");
}

void WatchedClipboardTest::theTextIsKeptAsItCame()
{
    QFETCH(QByteArray, bytes);
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    channel.change();
    clipboard.holdsText();
    channel.offer({QStringLiteral("UTF8_STRING")});
    // A byte at a time: every character is cut by a piece's end.
    for (const char byte : bytes)
        channel.send(QByteArray(1, byte));
    channel.end();
    QVERIFY(clipboard.holdsText());
    QTEST(clipboard.text(), "text");
}

void WatchedClipboardTest::aNewerChangeGivesUpTheReadUnderWay()
{
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    channel.change();
    clipboard.holdsText();
    channel.offer({QStringLiteral("UTF8_STRING")});
    channel.send(QByteArray(1000, 'a'));
    channel.change();
    QCOMPARE(channel.abandoned, 1);
    QVERIFY(!clipboard.holdsText());
    channel.offer({QStringLiteral("UTF8_STRING")});
    channel.send("newer");
    channel.end();
    QCOMPARE(clipboard.text(), QStringLiteral("newer"));
}

void WatchedClipboardTest::aStalledTransferEndsQuietlyAndIsTriedAgainAtTheNextTick()
{
    FakeSelectionChannel channel;
    channel.setStallLimit(50ms);
    WatchedClipboard clipboard(channel, true);
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    channel.change();
    clipboard.holdsText();
    channel.offer({QStringLiteral("UTF8_STRING")});
    channel.send("the owner hangs after this");
    QTRY_COMPARE(channel.requests.last(), QStringLiteral("dropped"));
    QVERIFY(!clipboard.holdsText());
    QVERIFY(clipboard.text().isNull());
    // Not at every look: an owner that refuses at once would keep the program busy.
    const qsizetype asked = channel.requests.size();
    QVERIFY(!clipboard.holdsText());
    QCOMPARE(channel.requests.size(), asked);
    QTRY_COMPARE(changed.count(), 2);
    clipboard.holdsText();
    QCOMPARE(channel.requests.last(), QStringLiteral("types"));
    channel.offer({QStringLiteral("UTF8_STRING")});
    channel.send("answered now");
    channel.end();
    QCOMPARE(clipboard.text(), QStringLiteral("answered now"));
}

void WatchedClipboardTest::aTransferThatStallsAgainIsNotTriedUntilTheNextChange()
{
    // An owner that hands over part of a large text and then hangs would have the program read
    // it from the start every few seconds, for as long as it owns the clipboard.
    FakeSelectionChannel channel;
    channel.setStallLimit(50ms);
    WatchedClipboard clipboard(channel, true);
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    channel.change();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        QTRY_COMPARE(changed.count(), attempt);
        QVERIFY(!clipboard.holdsText());
        channel.offer({QStringLiteral("UTF8_STRING")});
        channel.send("the owner hangs after this");
        QTRY_COMPARE(channel.requests.last(), QStringLiteral("dropped"));
    }
    // The capture looks at every tick.
    const qsizetype asked = channel.requests.size();
    for (int tick = 0; tick < 20; ++tick) {
        QVERIFY(!clipboard.holdsText());
        QTest::qWait(100);
    }
    QCOMPARE(channel.requests.size(), asked);

    channel.change();
    QVERIFY(!clipboard.holdsText());
    channel.offer({QStringLiteral("UTF8_STRING")});
    channel.send("a new copy");
    channel.end();
    QCOMPARE(clipboard.text(), QStringLiteral("a new copy"));
}

void WatchedClipboardTest::whatCannotBeTakenAsTextIsNotReadAgainUntilTheNextChange_data()
{
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("a text past the limit") << true;
    QTest::newRow("data that is no text") << false;
}

void WatchedClipboardTest::whatCannotBeTakenAsTextIsNotReadAgainUntilTheNextChange()
{
    QFETCH(bool, tooLarge);
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    clipboard.setTextLimit(10);
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    channel.change();
    clipboard.holdsText();
    channel.offer({QStringLiteral("UTF8_STRING")});
    if (tooLarge) {
        channel.send("0123456");
        channel.send("7890");
        QCOMPARE(channel.abandoned, 1);
    } else {
        channel.refuseAsNotText();
    }
    QCOMPARE(changed.count(), 2);
    QVERIFY(!clipboard.holdsText());
    QVERIFY(clipboard.text().isNull());
    QCOMPARE(clipboard.textTooLarge(), tooLarge);
    // Not even at the next tick's time: the owner would only hand over the same again.
    const qsizetype asked = channel.requests.size();
    QTest::qWait(1000);
    QVERIFY(!clipboard.holdsText());
    QCOMPARE(channel.requests.size(), asked);
    QCOMPARE(changed.count(), 2);
    channel.change();
    QVERIFY(!clipboard.textTooLarge());
    clipboard.holdsText();
    channel.offer({QStringLiteral("UTF8_STRING")});
    channel.send("0123456789");
    channel.end();
    QVERIFY(clipboard.holdsText());
    QCOMPARE(clipboard.text(), QStringLiteral("0123456789"));
}

void WatchedClipboardTest::aSecretIsNeverRead_data()
{
    QTest::addColumn<QByteArray>("hint");
    QTest::addColumn<bool>("holdsText");
    QTest::newRow("a secret holds no text") << QByteArray("secret\n") << false;
    QTest::newRow("another hint leaves the text readable") << QByteArray("public") << true;
}

void WatchedClipboardTest::aSecretIsNeverRead()
{
    QFETCH(QByteArray, hint);
    QFETCH(bool, holdsText);
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    channel.change();
    clipboard.holdsText();
    channel.offer({QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")});
    QCOMPARE(channel.requests.last(), QStringLiteral("x-kde-passwordManagerHint"));
    channel.send(hint);
    channel.end();
    if (holdsText) {
        QCOMPARE(channel.requests.last(), QStringLiteral("text/plain"));
        channel.send("visible");
        channel.end();
    }
    QCOMPARE(clipboard.holdsText(), holdsText);
    QCOMPARE(channel.requests.contains(QStringLiteral("text/plain")), holdsText);
}

void WatchedClipboardTest::aHintWithoutEndIsNoHint()
{
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    channel.change();
    clipboard.holdsText();
    channel.offer({QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")});
    for (int piece = 0; piece < 3; ++piece)
        channel.send(QByteArray(100, 'x'));
    QCOMPARE(channel.requests.last(), QStringLiteral("text/plain"));
    channel.send("visible");
    channel.end();
    QVERIFY(clipboard.holdsText());
    QCOMPARE(clipboard.text(), QStringLiteral("visible"));
}

void WatchedClipboardTest::nothingIsReadUntilSomebodyLooks()
{
    FakeSelectionChannel channel;
    WatchedClipboard clipboard(channel, true);
    channel.change();
    channel.change();
    QVERIFY(channel.requests.isEmpty());
    clipboard.setText(QStringLiteral("own"));
    clipboard.clear();
    QCOMPARE(channel.written, QStringLiteral("own"));
    QVERIFY(channel.cleared);
    QVERIFY(channel.requests.isEmpty());
}

QTEST_GUILESS_MAIN(WatchedClipboardTest)
#include "tst_watchedclipboard.moc"
