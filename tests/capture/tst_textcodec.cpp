#include "capture/TextCodec.h"

#include <QtTest>
#ifdef Q_OS_UNIX
#include <iconv.h>
#endif

class TextCodecTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shiftJisRoundTrip_data();
    void shiftJisRoundTrip();
    void textShiftJisCannotHoldIsWrittenAsMarkedUtf8_data();
    void textShiftJisCannotHoldIsWrittenAsMarkedUtf8();
    void decoding_data();
    void decoding();
#ifdef Q_OS_UNIX
    void everyDoubleByteCharacterDecodesAsIconvHasIt();
#endif
    void aTextFileIsTheTextAndCrLf();
};

void TextCodecTest::shiftJisRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("full-width katakana")
        << QStringLiteral("メモ") << QByteArray("\x83\x81\x83\x82");
    QTest::newRow("half-width katakana stay half-width")
        << QStringLiteral("ﾒﾓ") << QByteArray("\xD2\xD3");
    QTest::newRow("kanji, ASCII and line breaks")
        << QStringLiteral("会議\r\nabc\n") << QByteArray("\x89\xEF\x8B\x63\r\nabc\n");
    QTest::newRow("the full-width blank") << QStringLiteral("　") << QByteArray("\x81\x40");
    // Where the systems' tables for code page 932 once differed: each must give Windows' bytes.
    QTest::newRow("the full-width tilde") << QStringLiteral("\uFF5E") << QByteArray("\x81\x60");
    QTest::newRow("the parallel sign") << QStringLiteral("\u2225") << QByteArray("\x81\x61");
    QTest::newRow("a circled digit of NEC's") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("a kanji of IBM's extension") << QStringLiteral("纊") << QByteArray("\xFA\x5C");
    QTest::newRow("the empty text") << QString() << QByteArray();
}

void TextCodecTest::shiftJisRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeText(text, CodePage::ShiftJis), bytes);
    QCOMPARE(decodeText(bytes, CodePage::ShiftJis), text);
}

void TextCodecTest::textShiftJisCannotHoldIsWrittenAsMarkedUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("Korean") << QStringLiteral("메모 한국어");
    QTest::newRow("an emoji beside Japanese") << QStringLiteral("メモ😀");
    QTest::newRow("the yen sign, never the backslash that looks like it")
        << QStringLiteral("\u00A5100");
    QTest::newRow("the wave dash, never the full-width tilde") << QStringLiteral("10\u301C20");
}

void TextCodecTest::textShiftJisCannotHoldIsWrittenAsMarkedUtf8()
{
    QFETCH(QString, text);
    const QByteArray bytes = encodeText(text, CodePage::ShiftJis);
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    QCOMPARE(decodeText(bytes, CodePage::ShiftJis), text);
    QCOMPARE(decodeText(bytes, CodePage::Utf8), text);
}

void TextCodecTest::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8 reads as UTF-8")
        << QByteArray("\xE3\x83\xA1\xE3\x83\xA2") << int(CodePage::Utf8) << QStringLiteral("メモ");
    QTest::newRow("bytes that are not UTF-8 read as code page 932")
        << QByteArray("\x83\x81\x83\x82") << int(CodePage::Utf8) << QStringLiteral("メモ");
    QTest::newRow("a lead byte at the end becomes the replacement character")
        << QByteArray("ab\x83") << int(CodePage::ShiftJis) << QStringLiteral("ab\uFFFD");
    QTest::newRow("a pair code page 932 does not define becomes one replacement character")
        << QByteArray("\x81\x0A\x83\x81") << int(CodePage::ShiftJis) << QStringLiteral("\uFFFDメ");
    QTest::newRow("a byte code page 932 does not define becomes the replacement character")
        << QByteArray("a\xFFz") << int(CodePage::ShiftJis) << QStringLiteral("a\uFFFDz");
    QTest::newRow("bytes Windows gives characters of its own read as elsewhere")
        << QByteArray("\x80\xA0\xFD") << int(CodePage::ShiftJis)
        << QStringLiteral("\uFFFD\uFFFD\uFFFD");
    QTest::newRow("NEC's selection of IBM's kanji reads as IBM's own")
        << QByteArray("\xED\x40") << int(CodePage::ShiftJis) << QStringLiteral("纊");
    QTest::newRow("a byte-order mark is honoured in code page 932")
        << QByteArray("\xEF\xBB\xBF\xE3\x83\xA1") << int(CodePage::ShiftJis)
        << QStringLiteral("メ");
}

void TextCodecTest::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codePage);
    QFETCH(QString, text);
    QCOMPARE(decodeText(bytes, CodePage(codePage)), text);
}

#ifdef Q_OS_UNIX
void TextCodecTest::everyDoubleByteCharacterDecodesAsIconvHasIt()
{
    const iconv_t cd = iconv_open("UTF-16LE", "CP932");
    QVERIFY(cd != iconv_t(-1));
    int defined = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            char in[] = {char(lead), char(trail)};
            char16_t out[2] = {};
            char *inAt = in;
            char *outAt = reinterpret_cast<char *>(out);
            size_t inLeft = 2;
            size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inAt, &inLeft, &outAt, &outLeft) == size_t(-1) ||
                outLeft != sizeof(char16_t))
                continue;
            ++defined;
            const QString decoded = decodeText(QByteArray(in, 2), CodePage::ShiftJis);
            if (decoded != QString(QChar(out[0])))
                QFAIL(qPrintable(QStringLiteral("%1 %2").arg(lead, 0, 16).arg(trail, 0, 16)));
        }
    }
    iconv_close(cd);
    QVERIFY2(defined > 7000, "code page 932 defines some 7,900 double-byte characters");
}
#endif

void TextCodecTest::aTextFileIsTheTextAndCrLf()
{
    QCOMPARE(textFileBytes(QStringLiteral("メモ"), CodePage::Utf8),
             QByteArray("\xE3\x83\xA1\xE3\x83\xA2\r\n"));
    QCOMPARE(textFileBytes(QStringLiteral("メモ"), CodePage::ShiftJis),
             QByteArray("\x83\x81\x83\x82\r\n"));
    QCOMPARE(textFileBytes(QString(), CodePage::Utf8), QByteArray("\r\n"));
}

QTEST_GUILESS_MAIN(TextCodecTest)
#include "tst_textcodec.moc"
