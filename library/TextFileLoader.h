#pragma once

#include "ui/platform/LargestText.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Large enough that a file of many megabytes takes few reads, small enough for a bar that moves.
inline constexpr qint64 readChunkSize = 1 << 20;

// The largest file the pane takes.
inline constexpr qint64 largestFileForThePane = largestText;

// Reads a whole file in large chunks, in time linear in its size. After each chunk it reports the
// bytes read so far and the file's length as it was when it was opened. Throws PlatformError 53
// when the file is not there and 75 when it cannot be opened or read.
QByteArray readFileBytes(const QString &path,
                         const std::function<void(qint64 read, qint64 length)> &progress = {});
