#include "capture/ShiftJisDecoder.h"

#include <array>
#include <iconv.h>
#include <memory>

namespace
{

constexpr char16_t undefined = 0xFFFD;

bool isLeadByte(uchar byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

struct ShiftJisTable {
    std::array<char16_t, 256> single;
    // Indexed by lead byte times 256 plus trail byte.
    std::array<char16_t, 65536> pair;
};

// The one UTF-16 unit iconv gives for the bytes, or U+FFFD.
char16_t convertOne(iconv_t cd, const char *bytes, size_t size)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t out[2];
    char *in = const_cast<char *>(bytes);
    char *outAt = reinterpret_cast<char *>(out);
    size_t inLeft = size;
    size_t outLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &outAt, &outLeft) == size_t(-1) || inLeft != 0 ||
        outLeft != sizeof out - sizeof(char16_t))
        return undefined;
    return out[0];
}

std::unique_ptr<ShiftJisTable> buildTable()
{
    auto table = std::make_unique<ShiftJisTable>();
    table->single.fill(undefined);
    table->pair.fill(undefined);
    const iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == iconv_t(-1))
        return table;
    for (int lead = 0; lead < 256; ++lead) {
        const char one = char(lead);
        table->single[lead] = convertOne(cd, &one, 1);
        if (!isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0; trail < 256; ++trail) {
            const char two[] = {char(lead), char(trail)};
            table->pair[lead * 256 + trail] = convertOne(cd, two, 2);
        }
    }
    iconv_close(cd);
    return table;
}

const ShiftJisTable &shiftJisTable()
{
    static const std::unique_ptr<ShiftJisTable> table = buildTable();
    return *table;
}

} // namespace

QString decodeShiftJis(QByteArrayView bytes)
{
    const ShiftJisTable &table = shiftJisTable();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *at = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = at + bytes.size();
    char16_t *const start = out;
    while (at < end) {
        const uchar byte = *at;
        if (byte < 0x80) {
            *out++ = byte;
            ++at;
        } else if (isLeadByte(byte) && at + 1 < end) {
            *out++ = table.pair[byte * 256 + at[1]];
            at += 2;
        } else {
            *out++ = table.single[byte];
            ++at;
        }
    }
    text.truncate(out - start);
    return text;
}
