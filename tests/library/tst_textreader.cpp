#include "capture/TextCodec.h"
#include "capture/TextLines.h"
#include "library/LoadProgress.h"
#include "library/TextFileLoader.h"
#include "ui/platform/PlatformError.h"

#include <QTemporaryDir>
#include <QtTest>

class TextReaderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lineRule_data();
    void lineRule();
    void aLineEndAcrossTwoChunksIsOneLineEnd();
    void progressIsReportedPerChunkUpToTheLength();
    void aMissingFileIsFileNotFound();
    void blockCount_data();
    void blockCount();
    void barWidth_data();
    void barWidth();
};

void TextReaderTest::lineRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    const int utf8 = int(CodePage::Utf8);
    QTest::newRow("a CR LF b CR LF gives a CR LF b")
        << QByteArray("a\r\nb\r\n") << utf8 << "a\r\nb";
    QTest::newRow("line feeds alone stay inside one line")
        << QByteArray("a\nb\nc\n") << utf8 << "a\nb\nc\n";
    QTest::newRow("an empty file gives an empty text") << QByteArray() << utf8 << "";
    QTest::newRow("a last line without a line end stays whole")
        << QByteArray("a\r\nlast") << utf8 << "a\r\nlast";
    QTest::newRow("a carriage return alone ends a line and comes back as CR LF")
        << QByteArray("a\rb\r") << utf8 << "a\r\nb";
    QTest::newRow("CR CR LF is an empty line between")
        << QByteArray("a\r\r\nb") << utf8 << "a\r\n\r\nb";
    QTest::newRow("a file of one line end is one empty line") << QByteArray("\r\n") << utf8 << "";
    QTest::newRow("two line ends keep one empty line") << QByteArray("\r\n\r\n") << utf8 << "\r\n";
    QTest::newRow("code page 932 lines read in the system's code page")
        << QByteArray("\x93\xfa\x96\x7b\r\n\x8c\xea\r\n") << utf8 << "日本\r\n語";
    QTest::newRow("code page 932 read as code page 932")
        << QByteArray("\x83\x81\x83\x82\r") << int(CodePage::ShiftJis) << "メモ";
}

void TextReaderTest::lineRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codePage);
    QFETCH(QString, text);
    QCOMPARE(readTextFile(bytes, CodePage(codePage)), text);
}

void TextReaderTest::aLineEndAcrossTwoChunksIsOneLineEnd()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("long.txt"));
    QByteArray bytes(readChunkSize - 1, 'x');
    bytes += "\r\ny";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    const QString text = readTextFile(readFileBytes(path), systemCodePage());
    QCOMPARE(text.size(), bytes.size());
    QVERIFY(text.endsWith(QStringLiteral("x\r\ny")));
}

void TextReaderTest::progressIsReportedPerChunkUpToTheLength()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("three.txt"));
    const qint64 length = 2 * readChunkSize + 10;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(QByteArray(length, 'z')), length);
    file.close();
    QList<qint64> reported;
    const QByteArray bytes = readFileBytes(path, [&](qint64 read, qint64 total) {
        QCOMPARE(total, length);
        reported << read;
    });
    QCOMPARE(bytes.size(), length);
    QCOMPARE(reported, (QList<qint64>{readChunkSize, 2 * readChunkSize, length}));
}

void TextReaderTest::aMissingFileIsFileNotFound()
{
    QTemporaryDir folder;
    try {
        readFileBytes(folder.filePath(QStringLiteral("gone.txt")));
        QFAIL("a missing file was read");
    } catch (const PlatformError &error) {
        QCOMPARE(error.number(), ErrorNumber::FileNotFound);
    }
}

void TextReaderTest::blockCount_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("blocks");
    QTest::newRow("64 bytes are no block (half rounds to even 0)") << qint64(64) << qint64(0);
    QTest::newRow("65 bytes are one block") << qint64(65) << qint64(1);
    QTest::newRow("192 bytes round half to even 2") << qint64(192) << qint64(2);
    QTest::newRow("320 bytes round half to even 2") << qint64(320) << qint64(2);
    QTest::newRow("a file of 5 GB counts past 32 bits")
        << qint64(5'000'000'000) << qint64(39'062'500);
}

void TextReaderTest::blockCount()
{
    QFETCH(qint64, length);
    QFETCH(qint64, blocks);
    QCOMPARE(LoadProgress::blockCount(length), blocks);
}

void TextReaderTest::barWidth_data()
{
    QTest::addColumn<qint64>("read");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<int>("fullWidth");
    QTest::addColumn<int>("width");
    QTest::newRow("nothing read yet is width 0") << qint64(100) << qint64(1000) << 124 << 0;
    QTest::newRow("half of the blocks read is half the width")
        << qint64(64000) << qint64(128000) << 124 << 62;
    QTest::newRow("a whole file is the full width") << qint64(1280) << qint64(1280) << 124 << 124;
    QTest::newRow("half of 1 GB on a wide bar leaves 32 bits and still gives half")
        << qint64(512) * 1024 * 1024 << qint64(1024) * 1024 * 1024 << 1000 << 500;
    QTest::newRow("a file that grew while read stays within the bar")
        << qint64(4096) << qint64(1280) << 124 << 124;
}

void TextReaderTest::barWidth()
{
    QFETCH(qint64, read);
    QFETCH(qint64, length);
    QFETCH(int, fullWidth);
    QFETCH(int, width);
    QCOMPARE(LoadProgress::barWidth(read, LoadProgress::blockCount(length), fullWidth), width);
}

QTEST_GUILESS_MAIN(TextReaderTest)
#include "tst_textreader.moc"
