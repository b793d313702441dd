#include "ui/platform/CodePage932.h"

#include <climits>
#include <windows.h>

namespace
{

constexpr UINT codePage932 = 932;

} // namespace

// Windows converts without a state of its own: there is nothing to keep between characters.
CodePage932Characters::CodePage932Characters() = default;

CodePage932Characters::~CodePage932Characters() = default;

std::optional<char16_t> CodePage932Characters::unitOf(QByteArrayView character)
{
    wchar_t out[2];
    const int units = MultiByteToWideChar(codePage932, MB_ERR_INVALID_CHARS, character.data(),
                                          int(character.size()), out, 2);
    if (units != 1)
        return std::nullopt;
    return char16_t(out[0]);
}

std::optional<QByteArray> encodeCodePage932(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    if (text.size() > INT_MAX / 2)
        return std::nullopt;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = int(text.size());
    // Without best-fit characters Windows never writes a look-alike (a backslash for the yen sign)
    // and reports every character that has no place in the code page.
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(codePage932, WC_NO_BEST_FIT_CHARS, wide, length, nullptr,
                                         0, nullptr, &lost);
    if (size <= 0 || lost)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(codePage932, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size,
                            nullptr, &lost) != size ||
        lost)
        return std::nullopt;
    return bytes;
}

bool systemCodePageIs932()
{
    return GetACP() == codePage932;
}
