#include "capture/FileNameRule.h"
#include "capture/TextCodec.h"
#include "capture/TextLines.h"

#include <QtTest>

// Texts that the codec and the name rule once got wrong, found by the fuzz targets.
class TextFaultsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyTextReadsBackAsWritten_data();
    void everyTextReadsBackAsWritten();
    void deviceNamesAreRefusedWhateverFollowsTheBlanks_data();
    void deviceNamesAreRefusedWhateverFollowsTheBlanks();
};

void TextFaultsTest::everyTextReadsBackAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("codePage");
    const QString withMark = QChar(0xFEFF) + QStringLiteral("memo");
    QTest::newRow("a leading zero-width no-break space stays in UTF-8")
        << withMark << int(CodePage::Utf8);
    QTest::newRow("a leading zero-width no-break space stays in code page 932")
        << withMark << int(CodePage::ShiftJis);
    QTest::newRow("two leading marks stay both")
        << QString(QChar(0xFEFF)) + withMark << int(CodePage::Utf8);
    QTest::newRow("a pound sign is not turned into its full-width neighbour")
        << QStringLiteral("\u00A3 5") << int(CodePage::ShiftJis);
    QTest::newRow("a text code page 932 holds is still written in it")
        << QStringLiteral("日本語ﾃｷｽﾄ") << int(CodePage::ShiftJis);
}

void TextFaultsTest::everyTextReadsBackAsWritten()
{
    QFETCH(QString, text);
    QFETCH(int, codePage);
    const CodePage page = CodePage(codePage);
    QCOMPARE(readTextFile(textFileBytes(text, page), page), text);
}

void TextFaultsTest::deviceNamesAreRefusedWhateverFollowsTheBlanks_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("usable");
    QTest::newRow("a blank and a dot after the device name") << QStringLiteral("CON .") << false;
    QTest::newRow("a blank and an extension after the device name")
        << QStringLiteral("nul .md") << false;
    QTest::newRow("a superscript port number") << QStringLiteral("COM\u00B9") << false;
    QTest::newRow("a device name inside a longer word is a name")
        << QStringLiteral("CONSOLE .x") << true;
    QTest::newRow("a device name after other text is a name") << QStringLiteral("a CON .") << true;
}

void TextFaultsTest::deviceNamesAreRefusedWhateverFollowsTheBlanks()
{
    QFETCH(QString, base);
    QFETCH(bool, usable);
    QCOMPARE(isUsableBaseName(base), usable);
}

QTEST_MAIN(TextFaultsTest)
#include "tst_textfaults.moc"
