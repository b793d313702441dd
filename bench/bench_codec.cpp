// Decoding speed of the text file codec, the viewer's reader, in both code pages.
// Run: build/bench/bench_codec   (prints "name value unit" lines)
#include "capture/TextCodec.h"

#include <QElapsedTimer>
#include <cstdio>

namespace
{

// A Japanese text of about 32 MB with the mix of kana, kanji, ASCII and line breaks of a memo.
QString japaneseText()
{
    const QString line =
        QStringLiteral("会議メモ：来週の打ち合わせは十時から、ﾒﾓ ABC-123 です。\r\n");
    QString text;
    text.reserve(line.size() * 400000);
    for (int i = 0; i < 400000; ++i)
        text.append(line);
    return text;
}

QString asciiText()
{
    const QString line = QStringLiteral("Meeting notes: the review starts at ten, room 4B.\r\n");
    QString text;
    for (int i = 0; i < 600000; ++i)
        text.append(line);
    return text;
}

// The best of several runs, in megabytes of input a second.
double decodeRate(const QByteArray &bytes, CodePage codePage, const QString &expected)
{
    double best = 0;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QString text = decodeText(bytes, codePage);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (text != expected) {
            std::printf("decode_mismatch 1 flag\n");
            return 0;
        }
        best = std::max(best, double(bytes.size()) / 1e6 / seconds);
    }
    return best;
}

} // namespace

int main()
{
    const QString japanese = japaneseText();
    const QString ascii = asciiText();
    std::printf("decode_utf8_japanese %.0f MB/s\n",
                decodeRate(encodeText(japanese, CodePage::Utf8), CodePage::Utf8, japanese));
    std::printf("decode_utf8_ascii %.0f MB/s\n",
                decodeRate(encodeText(ascii, CodePage::Utf8), CodePage::Utf8, ascii));
    std::printf("decode_932_japanese %.0f MB/s\n",
                decodeRate(encodeText(japanese, CodePage::ShiftJis), CodePage::ShiftJis, japanese));
    std::printf("decode_932_ascii %.0f MB/s\n",
                decodeRate(encodeText(ascii, CodePage::ShiftJis), CodePage::ShiftJis, ascii));
    std::printf("decode_932_file_read_as_utf8 %.0f MB/s\n",
                decodeRate(encodeText(japanese, CodePage::ShiftJis), CodePage::Utf8, japanese));
    return 0;
}
