#include "ui/widgets/LineEndBlocks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace LineEndBlocks
{

namespace
{

constexpr int lineEndProperty = QTextFormat::UserProperty + 1;
constexpr QChar blockBreak = QChar::ParagraphSeparator;

const char16_t *charactersOf(LineEnd end)
{
    switch (end) {
    case LineEnd::Cr:
        return u"\r";
    case LineEnd::Lf:
        return u"\n";
    case LineEnd::CrLf:
        break;
    }
    return u"\r\n";
}

} // namespace

QTextCharFormat formatOf(LineEnd end)
{
    QTextCharFormat format;
    if (end != LineEnd::CrLf)
        format.setProperty(lineEndProperty, int(end));
    return format;
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
        if (c > u'\r' || (c != u'\r' && c != u'\n'))
            continue;
        const qsizetype lineEnd = i;
        LineEnd end = c == u'\r' ? LineEnd::Cr : LineEnd::Lf;
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
    // The line end of each character format the document uses, looked up by the format's index
    // rather than built as a format for every block.
    const QList<QTextFormat> formats = document->allFormats();
    std::vector<LineEnd> endOfFormat;
    endOfFormat.reserve(size_t(formats.size()));
    for (const QTextFormat &format : formats)
        endOfFormat.push_back(LineEnd(format.intProperty(lineEndProperty)));

    const QString raw = document->toRawText();
    QString text;
    text.reserve(raw.size() + document->blockCount());
    QTextBlock block = document->begin();
    qsizetype from = 0;
    for (qsizetype at = raw.indexOf(blockBreak); at >= 0; at = raw.indexOf(blockBreak, at + 1)) {
        text.append(QStringView(raw).sliced(from, at - from));
        block = block.next();
        text.append(charactersOf(endOfFormat[size_t(block.charFormatIndex())]));
        from = at + 1;
    }
    text.append(QStringView(raw).sliced(from));
    return text;
}

} // namespace LineEndBlocks
