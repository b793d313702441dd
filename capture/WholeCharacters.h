#pragma once

#include <QString>

// The first n code units of the text, one fewer where the last of them is the first half of a
// surrogate pair: a name or caption cut to a length never ends in half a character, which a
// file system would store as a replacement character.
QString leftWholeCharacters(const QString &text, qsizetype n);
