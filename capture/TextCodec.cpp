#include "capture/TextCodec.h"

#include "capture/ShiftJisDecoder.h"
#include "ui/platform/CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <optional>

namespace
{

const QByteArray utf8Mark("\xEF\xBB\xBF");

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
    return systemCodePageIs932() ? CodePage::ShiftJis : CodePage::Utf8;
}

QByteArray encodeText(const QString &text, CodePage codePage)
{
    if (codePage == CodePage::ShiftJis) {
        // A system may also give near neighbours for some characters (iconv writes U+00A3 as the
        // full-width pound sign): only bytes that read back as the text itself will do.
        const auto bytes = encodeCodePage932(text);
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
