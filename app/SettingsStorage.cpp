#include "app/SettingsStorage.h"

#include "ui/platform/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <climits>

namespace
{

constexpr qint64 maxSettingsFileBytes = 1 << 20;

#ifdef Q_OS_WIN
// Windows counts names in UTF-16 units, 255 to a name; Qt hands it paths of up to 32,767.
constexpr qsizetype nameLimit = 255;
constexpr qsizetype pathLimit = 32767;
QStringList namesOf(const QString &path)
{
    return QDir::fromNativeSeparators(path).split(u'/');
}
qsizetype lengthOf(const QString &text)
{
    return text.size();
}
#else
constexpr qsizetype nameLimit = NAME_MAX;
constexpr qsizetype pathLimit = PATH_MAX - 1;
QStringList namesOf(const QString &path)
{
    return path.split(u'/');
}
qsizetype lengthOf(const QString &text)
{
    return QFile::encodeName(text).size();
}
#endif

PlatformError fileError(QFileDevice::FileError error, const QString &path)
{
    switch (error) {
    case QFileDevice::PermissionsError:
        return PlatformError(ErrorNumber::PermissionDenied,
                             QStringLiteral("書き込みが許可されていません: %1").arg(path));
    case QFileDevice::ResourceError:
        return PlatformError(ErrorNumber::DiskFull,
                             QStringLiteral("ディスクに空きがありません: %1").arg(path));
    default:
        return PlatformError(ErrorNumber::PathFileAccess,
                             QStringLiteral("ファイルに書き込めません: %1").arg(path));
    }
}

} // namespace

QString settingsFilePath(const QString &appFolder)
{
    return appFolder + QStringLiteral("ClipSet.ini");
}

void checkSettingsPath(const QString &path)
{
    bool usable = !path.isEmpty() && !path.contains(QChar(0)) && lengthOf(path) <= pathLimit;
    for (const QString &name : namesOf(path))
        usable = usable && lengthOf(name) <= nameLimit;
    if (!usable)
        throw PlatformError(ErrorNumber::BadFileName,
                            QStringLiteral("ファイル名が正しくありません: %1").arg(path));
}

bool settingsFileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

QByteArray readSettingsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(ErrorNumber::PathFileAccess,
                            QStringLiteral("ファイルを読めません: %1").arg(path));
    // Twelve short lines: a file of any size past this is not one the program wrote.
    const QByteArray bytes = file.read(maxSettingsFileBytes);
    if (file.error() != QFileDevice::NoError)
        throw PlatformError(ErrorNumber::PathFileAccess,
                            QStringLiteral("ファイルを読めません: %1").arg(path));
    return bytes;
}

void replaceSettingsFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(file.error(), path);
    // A failed flush is checked here: commit() would still put a cut file in place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QFileDevice::FileError error = file.error();
        file.cancelWriting();
        throw fileError(error, path);
    }
    if (!file.commit())
        throw fileError(file.error(), path);
}
