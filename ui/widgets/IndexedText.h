#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

// A text together with where each of its lines starts, so that a view can reach any line without
// copying the text. A line ends at CR LF, at a CR alone, at an LF alone or at a paragraph
// separator (U+2029), as in the editor; the text is held as the caller's QString, which stays
// shared with every other holder of the same string.
class IndexedText
{
public:
    // The index keeps 32-bit offsets, half the memory of full-width ones for a text of many short
    // lines; a longer text cannot be indexed.
    static constexpr qsizetype maximumLength = std::numeric_limits<std::uint32_t>::max();
    static constexpr int longestLineCount = 8;

    IndexedText() : IndexedText(QString()) {}
    explicit IndexedText(const QString &text);

    const QString &text() const { return m_text; }
    qsizetype size() const { return m_text.size(); }
    qsizetype lineCount() const { return qsizetype(m_starts.size()); }
    qsizetype lineStart(qsizetype line) const { return m_starts[size_t(line)]; }
    // Where the line's own characters end, before its line end.
    qsizetype lineEnd(qsizetype line) const;
    qsizetype lineLength(qsizetype line) const { return lineEnd(line) - lineStart(line); }
    qsizetype lineOf(qsizetype position) const;
    QStringView lineText(qsizetype line) const;

    // The lines with the most characters, longest first (fewer when the text has fewer lines):
    // the candidates for the widest line on screen.
    std::vector<qsizetype> longestLines() const;

private:
    QString m_text;
    std::vector<std::uint32_t> m_starts;
    struct LineLength {
        std::uint32_t line;
        std::uint32_t length;
    };
    // Sorted longest first.
    std::array<LineLength, longestLineCount> m_longest{};
    int m_longestCount = 0;

    void noteLine(std::uint32_t line, std::uint32_t length);
};
