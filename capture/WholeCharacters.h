#pragma once

#include <QString>

// The first n code units of the text, without the first halves of surrogate pairs at their end:
// a name or caption cut to a length never ends in half a character, which a file system would
// store as a replacement character.
QString leftWholeCharacters(const QString &text, qsizetype n);
