#pragma once

#include "capture/TextCodec.h"
#include "ui/platform/PlatformError.h"

#include <QString>

// The file commands write the text in the code page followed by CR LF, the format of every text
// file the program writes. They never write through a link: whatever a link in the folder points
// to, in the folder or outside it, is left alone. Failures throw PlatformError with the reason in
// words the user reads.

// A link at the path, which the command declines to write through: nothing failed, and nothing
// was written.
class LinkRefused : public PlatformError
{
public:
    using PlatformError::PlatformError;
};

// Replaces the contents of the regular file at the path, or makes the file where the path is
// free. The new contents take the old ones' place only once they are written whole: a write that
// fails leaves the file as it was. A link at the path throws LinkRefused; a folder or anything
// else that is no regular file there is a failure.
void replaceTextFile(const QString &path, const QString &text, CodePage codePage);

// Writes a new file at the path, never over anything there: false when the path is taken by then
// by a file or a link. A folder at the path is a failure.
bool writeNewTextFile(const QString &path, const QString &text, CodePage codePage);

// Whether the name at the path is taken for numbering: by anything but a folder, a link whatever
// it points to included.
bool nameTaken(const QString &path);

// Why a write to the path failed, judged from the file system after the failure.
QString writeFailureReason(const QString &path, bool diskFull);
