#pragma once

#include "capture/TextCodec.h"

// The text of a file as the viewer shows it: its lines end at CR or CR LF (a line feed alone stays
// in the line), joined by CR LF, with no line end after the last line.
QString joinedLines(QString contents);

// The same, straight from the file's bytes in the code page.
QString readTextFile(const QByteArray &bytes, CodePage codePage);
