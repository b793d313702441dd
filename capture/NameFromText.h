#pragma once

#include <QString>

// The base file name of a captured text: the first line of the text, cut to the name length
// (one less where the cut would halve a character).
// The text is trimmed in place first (leading blanks and line breaks), and a text of blanks only
// becomes the "Space---..." placeholder, so that the file holds what the name stands for.
// A length that cannot serve as a count throws a PlatformError.
QString NameFromText(QString &text, float N);
