#pragma once

#include "ui/platform/LargestText.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <stdexcept>

// Large enough that a file of many megabytes takes few reads, small enough for a bar that moves.
inline constexpr qint64 readChunkSize = 1 << 20;

// A name in the folder that is not read: it stands for no regular file (a device, a named pipe, a
// socket or a folder, also behind a link), or for one larger than largestText.
class FileNotRead : public std::runtime_error
{
public:
    enum class Why { NotAFile, TooLarge };
    explicit FileNotRead(Why why);
    const Why why;
};

// Reads a whole regular file in large chunks, in time linear in its size. After each chunk it
// reports the bytes read so far and the file's length as it was when it was opened. What the name
// stands for is judged on the opened file, which is opened without waiting for a writer, and the
// size limit holds however the file grows while it is read: FileNotRead tells either. Throws
// PlatformError 53 when the file is not there and 75 when it cannot be opened or read.
QByteArray readFileBytes(const QString &path,
                         const std::function<void(qint64 read, qint64 length)> &progress = {});
