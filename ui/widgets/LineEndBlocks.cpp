#include "ui/widgets/LineEndBlocks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace LineEndBlocks
{

namespace
{

constexpr int lineEndProperty = QTextFormat::UserProperty + 1;
constexpr int standsForProperty = QTextFormat::UserProperty + 2;
constexpr QChar blockBreak = QChar::ParagraphSeparator;
// A noncharacter the document leaves alone, drawn as the characters it stands for are.
constexpr char16_t standIn = u'\uFDD2';

const char16_t *charactersOf(LineEnd end)
{
    switch (end) {
    case LineEnd::Cr:
        return u"\r";
    case LineEnd::Lf:
        return u"\n";
    case LineEnd::ParagraphSeparator:
        return u"\u2029";
    case LineEnd::CrLf:
        break;
    }
    return u"\r\n";
}

bool isMarker(char16_t c)
{
    return c == u'\uFDD0' || c == u'\uFDD1';
}

// CR, LF and the paragraph separator end a line; the two frame markers need a stand-in.
bool isSpecial(char16_t c)
{
    if (c > u'\r')
        return c == u'\u2029' || (c & 0xFFFE) == 0xFDD0;
    return c == u'\r' || c == u'\n';
}

QTextCharFormat standInFormat(char16_t marker)
{
    QTextCharFormat format;
    format.setProperty(standsForProperty, int(marker));
    return format;
}

} // namespace

QTextCharFormat formatOf(LineEnd end)
{
    QTextCharFormat format;
    if (end != LineEnd::CrLf)
        format.setProperty(lineEndProperty, int(end));
    return format;
}

bool holdsMarkers(QStringView text)
{
    // The stand-in's own character, typed where the editor gives it the format of a stand-in
    // before it, would come back as the marker that one stands for.
    for (const QChar c : text) {
        if (c == QChar::ParagraphSeparator || isMarker(c.unicode()) || c == QChar(standIn))
            return true;
    }
    return false;
}

void load(QTextDocument *document, const QString &text)
{
    const bool undoRedo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->setPlainText(QString());
    QTextCursor cursor(document);
    insert(cursor, text);
    document->setUndoRedoEnabled(undoRedo);
}

void insert(QTextCursor &cursor, const QString &text)
{
    // Lines that share a line end go in with one insertion, their breaks in that line end's
    // format: a text of one kind of line end is a single insertion, far quicker than a block at
    // a time.
    cursor.beginEditBlock();
    const auto *chars = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    QString run;
    LineEnd runEnd = LineEnd::CrLf;
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (!isSpecial(c))
            continue;
        if (isMarker(c)) {
            if (!run.isEmpty()) {
                cursor.insertText(run, formatOf(runEnd));
                run.clear();
            }
            cursor.insertText(text.sliced(from, i - from), formatOf(LineEnd::CrLf));
            cursor.insertText(QString(QChar(standIn)), standInFormat(c));
            from = i + 1;
            continue;
        }
        const qsizetype lineEnd = i;
        LineEnd end = c == u'\r'   ? LineEnd::Cr
                      : c == u'\n' ? LineEnd::Lf
                                   : LineEnd::ParagraphSeparator;
        if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n') {
            end = LineEnd::CrLf;
            ++i;
        }
        if (end != runEnd && !run.isEmpty()) {
            cursor.insertText(run, formatOf(runEnd));
            run.clear();
        }
        if (run.isEmpty())
            run.reserve(n - from);
        run.append(QStringView(text).sliced(from, lineEnd - from));
        run.append(blockBreak);
        runEnd = end;
        from = i + 1;
    }
    if (!run.isEmpty())
        cursor.insertText(run, formatOf(runEnd));
    cursor.insertText(text.sliced(from), formatOf(LineEnd::CrLf));
    cursor.endEditBlock();
}

QString text(const QTextDocument *document)
{
    return text(document, 0, document->characterCount() - 1);
}

QString text(const QTextDocument *document, int from, int to)
{
    // The line end and the stood-for character of each character format the document uses,
    // looked up by the format's index rather than built as a format for every block.
    const QList<QTextFormat> formats = document->allFormats();
    std::vector<LineEnd> endOfFormat;
    std::vector<char16_t> markerOfFormat;
    endOfFormat.reserve(size_t(formats.size()));
    markerOfFormat.reserve(size_t(formats.size()));
    bool standIns = false;
    for (const QTextFormat &format : formats) {
        endOfFormat.push_back(LineEnd(format.intProperty(lineEndProperty)));
        markerOfFormat.push_back(char16_t(format.intProperty(standsForProperty)));
        standIns = standIns || markerOfFormat.back() != 0;
    }

    QString raw = document->toRawText();
    if (from > 0 || to < raw.size())
        raw = raw.sliced(from, to - from);
    const QTextBlock first = document->findBlock(from);
    // Only a character that is the stand-in and has its format stands for a marker: typing after
    // a stand-in gives the typed characters its format too.
    for (QTextBlock block = first; standIns && block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextFragment fragment = piece.fragment();
            const char16_t marker = markerOfFormat[size_t(fragment.charFormatIndex())];
            if (marker == 0)
                continue;
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            for (int at = start; at < end; ++at) {
                if (raw.at(at - from) == QChar(standIn))
                    raw[at - from] = QChar(marker);
            }
        }
    }

    QString text;
    text.reserve(raw.size() + document->blockCount());
    QTextBlock block = first;
    qsizetype done = 0;
    for (qsizetype at = raw.indexOf(blockBreak); at >= 0; at = raw.indexOf(blockBreak, at + 1)) {
        text.append(QStringView(raw).sliced(done, at - done));
        block = block.next();
        text.append(charactersOf(endOfFormat[size_t(block.charFormatIndex())]));
        done = at + 1;
    }
    text.append(QStringView(raw).sliced(done));
    return text;
}

} // namespace LineEndBlocks
