#include "app/SettingsFile.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace
{

constexpr int maxSignificantDigits = 7;

// A value in std::to_chars' scientific form ("-3.415e+02") written out without an exponent and
// without trailing zeros ("-341.5").
QString positional(const char *first, const char *last)
{
    const std::string_view text(first, size_t(last - first));
    const bool negative = text.front() == '-';
    const size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    int exponent = 0;
    const std::string_view power = text.substr(e + 1);
    std::from_chars(power.data() + (power.front() == '+' ? 1 : 0), power.data() + power.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const int pointAfter = exponent + 1; // digits before the decimal point
    std::string result;
    if (pointAfter <= 0) {
        result = "0." + std::string(size_t(-pointAfter), '0') + digits;
    } else if (size_t(pointAfter) >= digits.size()) {
        result = digits + std::string(size_t(pointAfter) - digits.size(), '0');
    } else {
        result = digits.substr(0, size_t(pointAfter)) + '.' + digits.substr(size_t(pointAfter));
    }
    if (negative && result != "0")
        result.insert(result.begin(), '-');
    return QString::fromLatin1(result.data(), qsizetype(result.size()));
}

class ItemReader
{
public:
    explicit ItemReader(const QByteArray &bytes) : m_bytes(bytes) {}

    // The raw text of the next unquoted item, or nothing at the end of the file.
    std::optional<QByteArray> nextItem()
    {
        if (!skipToItem())
            return std::nullopt;
        const qsizetype from = m_at;
        while (m_at < m_bytes.size() && !isDelimiter(m_bytes.at(m_at)))
            ++m_at;
        const QByteArray item = m_bytes.sliced(from, m_at - from).trimmed();
        consumeDelimiter();
        return item;
    }

    // The next item as a string: between double quotes, or like any other item.
    std::optional<QByteArray> nextString()
    {
        if (!skipToItem())
            return std::nullopt;
        if (m_bytes.at(m_at) != '"')
            return nextItem();
        const qsizetype from = ++m_at;
        qsizetype lineEnd = from;
        while (lineEnd < m_bytes.size() && !isLineEnd(m_bytes.at(lineEnd)))
            ++lineEnd;
        const qsizetype closing = m_bytes.lastIndexOf('"', lineEnd - 1);
        const qsizetype end = closing >= from ? closing : lineEnd;
        m_at = closing >= from ? closing + 1 : lineEnd;
        while (m_at < m_bytes.size() && !isDelimiter(m_bytes.at(m_at)))
            ++m_at;
        consumeDelimiter();
        return m_bytes.sliced(from, end - from);
    }

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
    static bool isDelimiter(char c) { return c == ',' || isLineEnd(c); }
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }

    // Blanks and empty lines before an item are passed over.
    bool skipToItem()
    {
        while (m_at < m_bytes.size() && (isBlank(m_bytes.at(m_at)) || isLineEnd(m_bytes.at(m_at))))
            ++m_at;
        return m_at < m_bytes.size();
    }

    void consumeDelimiter()
    {
        if (m_at >= m_bytes.size())
            return;
        if (m_bytes.at(m_at) == ',') {
            ++m_at;
            return;
        }
        if (m_bytes.at(m_at) == '\r')
            ++m_at;
        if (m_at < m_bytes.size() && m_bytes.at(m_at) == '\n')
            ++m_at;
    }

    const QByteArray &m_bytes;
    qsizetype m_at = 0;
};

std::optional<float> numberOf(const QByteArray &item)
{
    const char *first = item.constData();
    const char *last = first + item.size();
    if (first != last && *first == '+')
        ++first;
    if (first == last || *first == '+')
        return std::nullopt;
    float value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QString settingsNumberText(float value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    char text[32];
    std::to_chars_result written{};
    for (int digits = 1; digits <= maxSignificantDigits; ++digits) {
        written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                                digits - 1);
        float back = 0;
        std::from_chars(text, written.ptr, back);
        if (back == value)
            break;
    }
    return positional(text, written.ptr);
}

QByteArray settingsFileBytes(const SettingsValues &values, const QString &folder, CodePage codePage)
{
    QByteArray bytes;
    for (float value : values)
        bytes += settingsNumberText(value).toLatin1() + "\r\n";
    bytes += '"' + encodeText(folder, codePage) + "\"\r\n";
    return bytes;
}

SettingsItems readSettingsItems(const QByteArray &bytes, CodePage codePage)
{
    SettingsItems items;
    ItemReader reader(bytes);
    for (float &value : items.values) {
        const auto item = reader.nextItem();
        const auto number = item ? numberOf(*item) : std::nullopt;
        if (!number)
            return items;
        value = *number;
        ++items.valuesRead;
    }
    if (const auto folder = reader.nextString()) {
        items.folder = decodeText(*folder, codePage);
        items.folderRead = true;
    }
    return items;
}

SettingsValues defaultSettings(const ScreenMetrics &screen)
{
    SettingsValues s{};
    s[0] = std::floor(screen.widthTwips() / 4);
    s[1] = std::floor(screen.heightTwips() / 4);
    s[2] = std::floor(screen.widthTwips() / 2);
    s[3] = std::floor(screen.heightTwips() / 2);
    s[4] = s[2] / 2 / screen.twipsPerPixelX;
    s[5] = s[3] / 2 / screen.twipsPerPixelY;
    s[6] = -1;
    s[7] = -1;
    s[8] = 0;
    s[9] = -1;
    s[10] = 12;
    return s;
}
