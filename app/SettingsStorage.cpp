#include "app/SettingsStorage.h"

#include "ui/platform/PlatformError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <climits>

namespace
{

constexpr qint64 maxSettingsFileBytes = 1 << 20;

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
    const QByteArray encoded = QFile::encodeName(path);
    bool usable = !path.isEmpty() && !path.contains(QChar(0)) && encoded.size() < PATH_MAX;
    for (const QByteArray &name : encoded.split('/'))
        usable = usable && name.size() <= NAME_MAX;
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
