#pragma once

#include <QString>
#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;

// The editor's document holds each line of the text as a block of its own, whatever ended the
// line, so that no block grows to the size of the whole text. Which line end it was (CR LF, a CR
// alone or an LF alone) is a property of the block break's own character format: the break
// keeps it through splits, joins, deletions and their undoing, whichever blocks survive them.
namespace LineEndBlocks
{

enum class LineEnd { CrLf, Cr, Lf };

// The character format of a block break that stands for the line end; CR LF is the default.
QTextCharFormat formatOf(LineEnd end);

// Replaces the document's contents with the text, without an undo step.
void load(QTextDocument *document, const QString &text);

// Inserts the text at the cursor, replacing its selection, as one undo step.
void insert(QTextCursor &cursor, const QString &text);

// The document's text with each block break turned back into its line end.
QString text(const QTextDocument *document);

} // namespace LineEndBlocks
