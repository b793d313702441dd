#include "capture/NameFromText.h"
#include "ui/platform/PlatformError.h"

#include <QtTest>

class NameFromTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nameAndTrimmedText_data();
    void nameAndTrimmedText();
    void lengthThatCannotServeAsACount_data();
    void lengthThatCannotServeAsACount();
    void aSecondCallOnTheTrimmedTextGivesTheSameName_data();
    void aSecondCallOnTheTrimmedTextGivesTheSameName();
};

void NameFromTextTest::nameAndTrimmedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("length");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("trimmed");

    const QString meeting = QStringLiteral("Meeting notes for Monday");
    QTest::newRow("one line is cut to twelve characters, the blank inside counting")
        << meeting << 12.0f << QStringLiteral("Meeting note") << meeting;
    QTest::newRow("the first line ends at CR LF")
        << QStringLiteral("abc\r\ndef\r\nghi") << 12.0f << QStringLiteral("abc")
        << QStringLiteral("abc\r\ndef\r\nghi");
    QTest::newRow("leading blanks and a line break are trimmed off the text")
        << QStringLiteral("  \r\nabc") << 12.0f << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("a line feed alone ends the line")
        << QStringLiteral("abc\ndef") << 12.0f << QStringLiteral("abc")
        << QStringLiteral("abc\ndef");
    QTest::newRow("a carriage return alone ends the line")
        << QStringLiteral("abc\rdef") << 12.0f << QStringLiteral("abc")
        << QStringLiteral("abc\rdef");
    QTest::newRow("the earlier of a line feed and a carriage return ends the line")
        << QStringLiteral("ab\ncd\ref") << 12.0f << QStringLiteral("ab")
        << QStringLiteral("ab\ncd\ref");
    QTest::newRow("three blanks become the placeholder cut to the length")
        << QStringLiteral("   ") << 12.0f << QStringLiteral("Space-------")
        << QStringLiteral("Space-------");
    QTest::newRow("one blank becomes the whole placeholder at 28 and more")
        << QStringLiteral(" ") << 40.0f << QStringLiteral("Space-----------------------")
        << QStringLiteral("Space-----------------------");
    QTest::newRow("CR LF alone keeps its line feed, which is the name")
        << QStringLiteral("\r\n") << 12.0f << QStringLiteral("\n") << QStringLiteral("\n");
    QTest::newRow("the empty text gives the empty name")
        << QString() << 12.0f << QString() << QString();
    QTest::newRow("a first line of exactly the length is kept whole")
        << QStringLiteral("123456789012\r\nmore") << 12.0f << QStringLiteral("123456789012")
        << QStringLiteral("123456789012\r\nmore");
    QTest::newRow("a line break just past the length does not shorten the name")
        << QStringLiteral("1234567890123\r\n") << 12.0f << QStringLiteral("123456789012")
        << QStringLiteral("1234567890123\r\n");
    QTest::newRow("a length of twenty gives up to twenty characters")
        << meeting << 20.0f << QStringLiteral("Meeting notes for Mo") << meeting;
    QTest::newRow("Japanese characters count one each")
        << QStringLiteral("　会議の議事録を作成しました") << 5.0f << QStringLiteral("　会議の議")
        << QStringLiteral("　会議の議事録を作成しました");
    QTest::newRow("tabs, trailing blanks and refused characters stay in the name")
        << QStringLiteral("\ta/b:c*d? \r\n") << 12.0f << QStringLiteral("\ta/b:c*d? ")
        << QStringLiteral("\ta/b:c*d? \r\n");
    QTest::newRow("a half length rounds to the even neighbour below")
        << QStringLiteral("abcdefghijklmnop") << 12.5f << QStringLiteral("abcdefghijkl")
        << QStringLiteral("abcdefghijklmnop");
    QTest::newRow("a half length rounds to the even neighbour above")
        << QStringLiteral("abcdefghijklmnop") << 13.5f << QStringLiteral("abcdefghijklmn")
        << QStringLiteral("abcdefghijklmnop");
    const QString brokenPairs = QString(3, QChar(0xDADA)) + u'x';
    QTest::newRow("first halves of pairs that lost their second halves end no name")
        << brokenPairs << 3.0f << QString() << brokenPairs;
    QTest::newRow("a length of zero gives the empty name and the empty placeholder")
        << QStringLiteral("  ") << 0.0f << QString() << QString();
}

void NameFromTextTest::nameAndTrimmedText()
{
    QFETCH(QString, text);
    QFETCH(float, length);
    QFETCH(QString, name);
    QFETCH(QString, trimmed);
    QCOMPARE(NameFromText(text, length), name);
    QCOMPARE(text, trimmed);
}

void NameFromTextTest::lengthThatCannotServeAsACount_data()
{
    QTest::addColumn<float>("length");
    QTest::newRow("a negative length") << -1.0f;
    QTest::newRow("a length beyond sixteen bits") << 32768.0f;
    QTest::newRow("a length that rounds beyond sixteen bits") << 32767.5f;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
}

void NameFromTextTest::lengthThatCannotServeAsACount()
{
    QFETCH(float, length);
    QString text = QStringLiteral("  memo");
    QVERIFY_THROWS_EXCEPTION(PlatformError, NameFromText(text, length));
    QCOMPARE(text, QStringLiteral("  memo"));
}

void NameFromTextTest::aSecondCallOnTheTrimmedTextGivesTheSameName_data()
{
    nameAndTrimmedText_data();
}

void NameFromTextTest::aSecondCallOnTheTrimmedTextGivesTheSameName()
{
    QFETCH(QString, text);
    QFETCH(float, length);
    const QString first = NameFromText(text, length);
    const QString trimmed = text;
    QCOMPARE(NameFromText(text, length), first);
    QCOMPARE(text, trimmed);
}

QTEST_GUILESS_MAIN(NameFromTextTest)
#include "tst_namefromtext.moc"
