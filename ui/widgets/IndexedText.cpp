#include "ui/widgets/IndexedText.h"

#include <algorithm>

IndexedText::IndexedText(const QString &text) : m_text(text)
{
    const auto *chars = reinterpret_cast<const char16_t *>(m_text.utf16());
    Q_ASSERT(m_text.size() <= maximumLength);
    const qsizetype n = m_text.size();
    m_starts.reserve(size_t(n / 64 + 1));
    m_starts.push_back(0);
    std::uint32_t start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (c > u'\r' ? c != u'\u2029' : c != u'\r' && c != u'\n')
            continue;
        noteLine(std::uint32_t(m_starts.size() - 1), std::uint32_t(i) - start);
        if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n')
            ++i;
        start = std::uint32_t(i + 1);
        m_starts.push_back(start);
    }
    noteLine(std::uint32_t(m_starts.size() - 1), std::uint32_t(n) - start);
    m_starts.shrink_to_fit();
}

void IndexedText::noteLine(std::uint32_t line, std::uint32_t length)
{
    if (m_longestCount == longestLineCount && length <= m_longest.back().length)
        return;
    int at = std::min(m_longestCount, longestLineCount - 1);
    while (at > 0 && m_longest[at - 1].length < length) {
        m_longest[at] = m_longest[at - 1];
        --at;
    }
    m_longest[at] = {line, length};
    m_longestCount = std::min(m_longestCount + 1, longestLineCount);
}

qsizetype IndexedText::lineEnd(qsizetype line) const
{
    if (line + 1 >= lineCount())
        return m_text.size();
    const qsizetype next = m_starts[size_t(line + 1)];
    const bool crLf = next >= 2 && m_text.at(next - 1) == u'\n' && m_text.at(next - 2) == u'\r';
    return next - (crLf ? 2 : 1);
}

qsizetype IndexedText::lineOf(qsizetype position) const
{
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), std::uint32_t(position));
    return std::max<qsizetype>(0, after - m_starts.begin() - 1);
}

QStringView IndexedText::lineText(qsizetype line) const
{
    return QStringView(m_text).sliced(lineStart(line), lineLength(line));
}

std::vector<qsizetype> IndexedText::longestLines() const
{
    std::vector<qsizetype> lines;
    for (int i = 0; i < m_longestCount; ++i)
        lines.push_back(m_longest[size_t(i)].line);
    return lines;
}
