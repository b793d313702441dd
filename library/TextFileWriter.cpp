#include "library/TextFileWriter.h"

#include "capture/CaptureFile.h"
#include "ui/platform/PlatformError.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

[[noreturn]] void fail(const QString &path, bool diskFull)
{
    const int number = diskFull ? ErrorNumber::DiskFull : ErrorNumber::PathFileAccess;
    throw PlatformError(number, writeFailureReason(path, diskFull));
}

[[noreturn]] void refuseLink(const QString &path)
{
    throw LinkRefused(ErrorNumber::PathFileAccess, writeFailureReason(path, false));
}

// The contents written whole beside the path, under a name of their own.
QString temporaryBeside(const QString &path, const QByteArray &bytes)
{
    try {
        return writeTemporaryBeside(path, bytes);
    } catch (const PlatformError &error) {
        fail(path, error.number() == ErrorNumber::DiskFull);
    }
}

} // namespace

QString writeFailureReason(const QString &path, bool diskFull)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("フォルダー「%1」が見つかりません。").arg(folder.filePath());
    if (file.isSymLink())
        return QStringLiteral("その名前はリンクです。リンク先には書き込みません。");
    if (file.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    if (file.exists() && !file.isFile())
        return QStringLiteral("その名前はファイルではなく、デバイスや名前付きパイプなどです。");
    if (diskFull)
        return QStringLiteral("ディスクの空き容量が足りません。");
    if (file.exists() && !file.isWritable())
        return QStringLiteral("ファイルは書き込み禁止です。");
    if (!folder.isWritable())
        return QStringLiteral("フォルダーに書き込む権限がありません。");
    return QStringLiteral("ファイルに書き込めませんでした。");
}

bool nameTaken(const QString &path)
{
    const QFileInfo entry(path);
    return entry.isSymLink() || (entry.exists() && !entry.isDir());
}

#ifdef Q_OS_UNIX

void replaceTextFile(const QString &path, const QString &text, CodePage codePage)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old;
    const bool present = ::lstat(target.constData(), &old) == 0;
    if (present && S_ISLNK(old.st_mode))
        refuseLink(path);
    if (present && (!S_ISREG(old.st_mode) || ::access(target.constData(), W_OK) != 0))
        fail(path, false);
    const QByteArray temporary =
        QFile::encodeName(temporaryBeside(path, textFileBytes(text, codePage)));
    // The new file keeps who may read and write the old one.
    if (present)
        ::chmod(temporary.constData(), old.st_mode & 07777);
    // A rename replaces the name itself: had a link taken the file's place meanwhile, the link
    // would go, and what it points to would stay as it was.
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        fail(path, error == ENOSPC || error == EDQUOT);
    }
}

#else

void replaceTextFile(const QString &path, const QString &text, CodePage codePage)
{
    const QFileInfo old(path);
    if (old.isSymLink())
        refuseLink(path);
    if (old.exists() && !old.isFile())
        fail(path, false);
    const QString temporary = temporaryBeside(path, textFileBytes(text, codePage));
    if (!replaceWithTemporary(temporary, path)) {
        QFile::remove(temporary);
        fail(path, false);
    }
}

#endif

bool writeNewTextFile(const QString &path, const QString &text, CodePage codePage)
{
    try {
        if (writeNewFile(path, textFileBytes(text, codePage)))
            return true;
    } catch (const PlatformError &error) {
        throw PlatformError(error.number(),
                            writeFailureReason(path, error.number() == ErrorNumber::DiskFull));
    }
    // Numbering goes on past a file or a link; a folder of the name is no file's to give way.
    const QFileInfo there(path);
    if (there.isDir() && !there.isSymLink())
        fail(path, false);
    return false;
}
