#include "FuzzInput.h"
#include "capture/TextCodec.h"
#include "capture/TextLines.h"

namespace
{

// The viewer's promise: every carriage return is followed by a line feed.
void checkLineEnds(const QString &text)
{
    for (qsizetype at = text.indexOf(u'\r'); at >= 0; at = text.indexOf(u'\r', at + 1))
        FUZZ_CHECK(at + 1 < text.size() && text.at(at + 1) == u'\n');
}

bool hasLoneCarriageReturn(const QString &text)
{
    for (qsizetype at = text.indexOf(u'\r'); at >= 0; at = text.indexOf(u'\r', at + 1)) {
        if (at + 1 == text.size() || text.at(at + 1) != u'\n')
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = utf16Of(data, size);
    for (const CodePage codePage : {CodePage::Utf8, CodePage::ShiftJis}) {
        checkLineEnds(readTextFile(bytes, codePage));

        if (!isValidUtf16(text))
            continue;
        FUZZ_CHECK(decodeText(encodeText(text, codePage), codePage) == text);
        // A written file shows its text again, unless a carriage return alone in it gains a
        // line feed.
        if (!hasLoneCarriageReturn(text))
            FUZZ_CHECK(readTextFile(textFileBytes(text, codePage), codePage) == text);
    }
    return 0;
}
