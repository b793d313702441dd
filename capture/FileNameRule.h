#pragma once

#include <QString>

// Whether a base name can stand before ".txt" in the capture folder on every system the folder
// may move to: no path separator, none of the characters Windows refuses in names, no control
// character, and no device name Windows reserves (CON, PRN, AUX, NUL, COM1 to COM9 and COM¹ to
// COM³, LPT likewise, in any case, also with blanks after it or an extension).
bool isUsableBaseName(const QString &base);

// The file name for a base and the numbering counter: "memo.txt", then "memo 1.txt", ...
QString numberedFileName(const QString &base, int counter);
