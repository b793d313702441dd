#include "library/TextFileLoader.h"

#include "ui/platform/PlatformError.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

[[noreturn]] void failToOpen(const QString &path, bool missing)
{
    if (missing)
        throw PlatformError(ErrorNumber::FileNotFound,
                            QStringLiteral("ファイルが見つかりません: %1").arg(path));
    throw PlatformError(ErrorNumber::PathFileAccess,
                        QStringLiteral("ファイルを開けません: %1").arg(path));
}

#ifdef Q_OS_UNIX

// A named pipe would hold a plain open until some program writes to it, and a device may not
// answer at all: the name is opened without waiting, and what it stands for is judged on the open
// descriptor, which no later change of the name can swap.
void openRegularFile(QFile &file, const QString &path)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        failToOpen(path, errno == ENOENT || errno == ENOTDIR);
    struct stat status;
    const bool known = ::fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode) ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        if (known && !S_ISREG(status.st_mode))
            throw FileNotRead(FileNotRead::Why::NotAFile);
        failToOpen(path, false);
    }
}

#else

void openRegularFile(QFile &file, const QString &path)
{
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        failToOpen(path, !QFileInfo::exists(path));
    // A device or a pipe behind the name is what the system reads as a sequential file.
    if (file.isSequential())
        throw FileNotRead(FileNotRead::Why::NotAFile);
}

#endif

} // namespace

FileNotRead::FileNotRead(Why why)
    : std::runtime_error(why == Why::TooLarge ? "file too large" : "not a regular file"), why(why)
{
}

QByteArray readFileBytes(const QString &path,
                         const std::function<void(qint64 read, qint64 length)> &progress)
{
    QFile file;
    openRegularFile(file, path);
    const qint64 length = file.size();
    if (length > largestText)
        throw FileNotRead(FileNotRead::Why::TooLarge);
    const auto readInto = [&](char *at, qint64 most) {
        const qint64 got = file.read(at, most);
        if (got < 0)
            throw PlatformError(ErrorNumber::PathFileAccess,
                                QStringLiteral("ファイルを読み込めません: %1").arg(path));
        return got;
    };
    // One buffer of the file's length, filled chunk by chunk: nothing is copied on the way.
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < length) {
        const qint64 got =
            readInto(bytes.data() + filled, std::min(readChunkSize, length - filled));
        if (got == 0)
            break;
        filled += got;
        if (progress)
            progress(filled, length);
    }
    bytes.truncate(filled);
    // A file that grew while it was read gives the rest too, as far as the limit, which holds
    // also for a file that tells no size of its own.
    if (filled == length) {
        QByteArray more(readChunkSize, Qt::Uninitialized);
        while (const qint64 got = readInto(more.data(), readChunkSize)) {
            if (file.size() > largestText || bytes.size() + got > largestText)
                throw FileNotRead(FileNotRead::Why::TooLarge);
            bytes.append(more.constData(), got);
            if (progress)
                progress(bytes.size(), length);
        }
    }
    return bytes;
}
