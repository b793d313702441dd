#include "capture/TextCodec.h"

#include "capture/ShiftJisDecoder.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <iconv.h>
#include <optional>

namespace
{

const QByteArray utf8Mark("\xEF\xBB\xBF");

// Converts between the two encodings with iconv; nothing when a character has no place in the
// target or the input is malformed.
std::optional<QByteArray> convert(const char *to, const char *from, const char *data, size_t size)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out(qsizetype(size * 2 + 16), Qt::Uninitialized);
    char *in = const_cast<char *>(data);
    size_t inLeft = size;
    char *outAt = out.data();
    size_t outLeft = size_t(out.size());
    std::optional<QByteArray> result;
    while (true) {
        const size_t done = iconv(cd, &in, &inLeft, &outAt, &outLeft);
        if (done != size_t(-1)) {
            out.truncate(outAt - out.data());
            result = out;
            break;
        }
        if (errno != E2BIG)
            break;
        const qsizetype used = outAt - out.data();
        out.resize(out.size() * 2);
        outAt = out.data() + used;
        outLeft = size_t(out.size() - used);
    }
    iconv_close(cd);
    return result;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    // A mark is dealt with before this: one more after it is a character of the text.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

CodePage systemCodePage()
{
    return CodePage::Utf8;
}

QByteArray encodeText(const QString &text, CodePage codePage)
{
    if (codePage == CodePage::ShiftJis) {
        // iconv also gives near neighbours for some characters (U+00A3 as the full-width
        // pound sign): only bytes that read back as the text itself will do.
        const auto bytes =
            convert("CP932", "UTF-16LE", reinterpret_cast<const char *>(text.utf16()),
                    size_t(text.size()) * 2);
        if (bytes && decodeShiftJis(*bytes) == text)
            return *bytes;
        return utf8Mark + text.toUtf8();
    }
    // The reader takes a leading mark for the encoding's, so a text that starts with the
    // character itself keeps it only behind a mark of its own.
    if (text.startsWith(QChar(0xFEFF)))
        return utf8Mark + text.toUtf8();
    return text.toUtf8();
}

QString decodeText(const QByteArray &bytes, CodePage codePage)
{
    if (bytes.startsWith(utf8Mark)) {
        const QByteArrayView rest = QByteArrayView(bytes).sliced(utf8Mark.size());
        if (auto text = decodeUtf8(rest))
            return *text;
        return QString::fromUtf8(rest);
    }
    if (codePage == CodePage::Utf8) {
        if (auto text = decodeUtf8(bytes))
            return *text;
    }
    return decodeShiftJis(bytes);
}

ReadCodePage codePageRead(const QByteArray &bytes, CodePage codePage)
{
    if (bytes.startsWith(utf8Mark))
        return {CodePage::Utf8,
                decodeUtf8(QByteArrayView(bytes).sliced(utf8Mark.size())).has_value()};
    if (codePage == CodePage::Utf8 && decodeUtf8(bytes))
        return {CodePage::Utf8, true};
    // Code page 932 has no character of its own that reads as U+FFFD.
    return {CodePage::ShiftJis, !decodeShiftJis(bytes).contains(QChar(0xFFFD))};
}

QByteArray textFileBytes(const QString &text, CodePage codePage)
{
    // CR LF reads the same in every code page and after a mark: appended to the encoded bytes,
    // it spares a copy of a text that may be many megabytes long.
    QByteArray bytes = encodeText(text, codePage);
    bytes.append("\r\n");
    return bytes;
}
