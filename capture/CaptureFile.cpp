#include "capture/CaptureFile.h"

#include "ui/platform/PlatformError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// A hidden name beside the target that the file list's "*.txt" never shows.
QString temporaryPathFor(const QString &path, int attempt)
{
    const QFileInfo target(path);
    return target.path() + QStringLiteral("/.quillbox-%1-%2.tmp")
                               .arg(QCoreApplication::applicationPid())
                               .arg(attempt);
}

[[noreturn]] void fail(int number, int error, const QString &path)
{
    throw PlatformError(
        number, QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(error))));
}

int writeFailureNumber(int error)
{
    return error == ENOSPC || error == EDQUOT ? ErrorNumber::DiskFull : ErrorNumber::PathFileAccess;
}

// A failure of a call that names the path. A name the file system refuses is what the program's
// name fallback is for.
[[noreturn]] void failNaming(int error, const QString &path)
{
    const bool nameRefused = error == ENAMETOOLONG || error == EINVAL || error == EILSEQ;
    fail(nameRefused ? ErrorNumber::FileNotFound : writeFailureNumber(error), error, path);
}

// How a file system says that it lacks a way of moving a file (hard links, a rename's flags).
bool lacksTheWay(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == EXDEV || error == EMLINK ||
           error == ENOSYS;
}

// Writes the bytes whole to the open file and through to the disk: 0, or the errno of the first
// call that failed.
int writeWhole(int file, const QByteArray &bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t done =
            ::write(file, bytes.constData() + written, size_t(bytes.size() - written));
        if (done > 0)
            written += done;
        else if (done == 0)
            return ENOSPC;
        else if (errno != EINTR)
            return errno;
    }
    return ::fsync(file) == 0 ? 0 : errno;
}

// Where the file system can neither link nor rename without replacing, the file is created at the
// path only if nothing is there, and written in place; a write that fails takes it away again.
bool writeExclusively(const QByteArray &to, const QByteArray &bytes, const QString &path)
{
    const int file = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) {
        if (errno == EEXIST)
            return false;
        failNaming(errno, path);
    }
    int error = writeWhole(file, bytes);
    if (::close(file) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(to.constData());
        fail(writeFailureNumber(error), error, path);
    }
    return true;
}

// Moves the finished file to the path unless something is there: a hard link cannot replace;
// where the file system has none, a rename that is told not to replace; where it has neither, the
// bytes are written in place.
bool moveIntoPlace(const QByteArray &from, const QByteArray &to, const QString &path,
                   const QByteArray &bytes, const NoReplaceMoves &moves)
{
    if (moves.link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    int error = errno;
    if (lacksTheWay(error)) {
        if (moves.renameNoReplace(from.constData(), to.constData()) == 0)
            return true;
        error = errno;
        // A rename's flag unknown to the file system reads as EINVAL; so does a name it
        // refuses, which the creation in place then tells.
        if (lacksTheWay(error) || error == EINVAL) {
            ::unlink(from.constData());
            return writeExclusively(to, bytes, path);
        }
    }
    ::unlink(from.constData());
    if (error == EEXIST)
        return false;
    failNaming(error, path);
}

int renameNoReplace(const char *from, const char *to)
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

} // namespace

QString writeTemporaryBeside(const QString &path, const QByteArray &bytes)
{
    QFile temporary;
    for (int attempt = 0;; ++attempt) {
        temporary.setFileName(temporaryPathFor(path, attempt));
        if (temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        // Only a leftover of an earlier run is worth another name; a missing or closed folder
        // is not.
        if (!temporary.exists() || attempt == 100)
            throw PlatformError(ErrorNumber::PathFileAccess, temporary.errorString());
    }
    // Only a full disk is told as one: a file-size limit or an I/O error is another failure.
    int error = writeWhole(temporary.handle(), bytes);
    temporary.close();
    if (error == 0 && temporary.error() != QFileDevice::NoError)
        error = EIO;
    if (error != 0) {
        temporary.remove();
        fail(writeFailureNumber(error), error, path);
    }
    return temporary.fileName();
}

bool plainFileExists(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return S_ISREG(status.st_mode);
    if (errno == ENAMETOOLONG)
        failNaming(errno, path);
    return false;
}

bool writeNewFile(const QString &path, const QByteArray &bytes)
{
    return writeNewFile(path, bytes, NoReplaceMoves{::link, renameNoReplace});
}

bool writeNewFile(const QString &path, const QByteArray &bytes, const NoReplaceMoves &moves)
{
    const QString temporary = writeTemporaryBeside(path, bytes);
    return moveIntoPlace(QFile::encodeName(temporary), QFile::encodeName(path), path, bytes, moves);
}
