#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Stops the run where libFuzzer records the input: a broken promise is a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)

// The input read as UTF-16 code units, as the clipboard hands text over: any code unit, lone
// surrogates included.
inline QString utf16Of(const uint8_t *data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t at = 0; at + 1 < size; at += 2)
        text[qsizetype(at / 2)] = QChar(char16_t(data[at] | data[at + 1] << 8));
    return text;
}

inline bool isValidUtf16(const QString &text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
            ++at;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}
