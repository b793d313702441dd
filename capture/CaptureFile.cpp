#include "capture/CaptureFile.h"

#include "ui/PlatformError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

#ifdef Q_OS_UNIX

[[noreturn]] void fail(int error, const QString &path)
{
    // A name the file system refuses is what the program's name fallback is for.
    const bool nameRefused = error == ENAMETOOLONG || error == EINVAL || error == EILSEQ;
    const int number = nameRefused                          ? ErrorNumber::FileNotFound
                       : error == ENOSPC || error == EDQUOT ? ErrorNumber::DiskFull
                                                            : ErrorNumber::PathFileAccess;
    throw PlatformError(
        number, QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(strerror(error))));
}

// Moves the finished file to the path unless something is there: a hard link cannot replace, and
// where the file system has none, a rename that is told not to replace.
bool moveIntoPlace(const QByteArray &from, const QByteArray &to, const QString &path)
{
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    int error = errno;
    if (error == EPERM || error == EOPNOTSUPP || error == EXDEV || error == EMLINK) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) ==
            0)
            return true;
        error = errno;
    }
    ::unlink(from.constData());
    if (error == EEXIST)
        return false;
    fail(error, path);
}

#endif

} // namespace

bool plainFileExists(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return S_ISREG(status.st_mode);
    if (errno == ENAMETOOLONG)
        fail(errno, path);
    return false;
#else
    return QFileInfo(path).isFile();
#endif
}

bool writeNewFile(const QString &path, const QByteArray &bytes)
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
    bool written = temporary.write(bytes) == bytes.size() && temporary.flush();
#ifdef Q_OS_UNIX
    written = written && ::fsync(temporary.handle()) == 0;
#endif
    temporary.close();
    if (!written || temporary.error() != QFileDevice::NoError) {
        const QString reason = temporary.errorString();
        temporary.remove();
        throw PlatformError(ErrorNumber::DiskFull, reason);
    }
#ifdef Q_OS_UNIX
    return moveIntoPlace(QFile::encodeName(temporary.fileName()), QFile::encodeName(path), path);
#else
    // QFile::rename refuses an existing target.
    if (temporary.rename(path))
        return true;
    temporary.remove();
    if (QFileInfo::exists(path))
        return false;
    throw PlatformError(ErrorNumber::PathFileAccess, temporary.errorString());
#endif
}
