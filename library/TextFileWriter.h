#pragma once

#include "capture/TextCodec.h"

#include <QString>

// Replaces the file's contents with the text in the code page followed by CR LF, the
// format of every text file the program writes. The new contents take the old ones' place only
// once they are written whole: a write that fails leaves the file as it was. Throws
// PlatformError with the reason in words the user reads.
void writeTextFile(const QString &path, const QString &text, CodePage codePage);

// Why a write to the path failed, judged from the file system after the failure.
QString writeFailureReason(const QString &path, bool diskFull);
