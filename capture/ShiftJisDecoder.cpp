#include "capture/ShiftJisDecoder.h"

#include "ui/platform/CodePage932.h"

#include <array>
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

// The single bytes of code page 932 are ASCII and the half-width katakana. Windows gives a few of
// the bytes the code page leaves free characters of its own (0x80 reads as U+0080), which no
// other system reads so.
bool isSingleByteCharacter(uchar byte)
{
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}

std::unique_ptr<ShiftJisTable> buildTable()
{
    auto table = std::make_unique<ShiftJisTable>();
    table->single.fill(undefined);
    table->pair.fill(undefined);
    CodePage932Characters system;
    for (int lead = 0; lead < 256; ++lead) {
        const char one = char(lead);
        if (isSingleByteCharacter(uchar(lead)))
            table->single[lead] = system.unitOf(QByteArrayView(&one, 1)).value_or(undefined);
        if (!isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0; trail < 256; ++trail) {
            const char two[] = {char(lead), char(trail)};
            table->pair[lead * 256 + trail] =
                system.unitOf(QByteArrayView(two, 2)).value_or(undefined);
        }
    }
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
