#pragma once

#include <QString>
#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;

// The editor's document holds each line of the text as a block of its own, whatever ended the
// line, so that no block grows to the size of the whole text. Which line end it was (CR LF, a CR
// alone, an LF alone or a paragraph separator, U+2029) is a property of the block break's own
// character format: the break keeps it through splits, joins, deletions and their undoing,
// whichever blocks survive them.
//
// The document takes U+FDD0 and U+FDD1 for its own frame markers, and would make line ends of
// them: each is held as a stand-in character, shown as the missing character it is, whose format
// says which one it stands for.
namespace LineEndBlocks
{

enum class LineEnd { CrLf, Cr, Lf, ParagraphSeparator };

// Whether the document would take characters of the text for its own markers, or the text holds
// the stand-in's own character, so that the text must go in by insert() to come back as it was.
bool holdsMarkers(QStringView text);

// The character format of a block break that stands for the line end; CR LF is the default.
QTextCharFormat formatOf(LineEnd end);

// Replaces the document's contents with the text, without an undo step.
void load(QTextDocument *document, const QString &text);

// Inserts the text at the cursor, replacing its selection, as one undo step.
void insert(QTextCursor &cursor, const QString &text);

// The document's text with each block break turned back into its line end and each stand-in into
// the character it stands for; or the part of it between two positions of the document.
QString text(const QTextDocument *document);
QString text(const QTextDocument *document, int from, int to);

} // namespace LineEndBlocks
