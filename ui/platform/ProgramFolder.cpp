#include "ui/platform/ProgramFolder.h"

#include "ui/platform/InstalledCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString withTrailingSeparator(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    if (native.endsWith(QDir::separator()))
        return native;
    return native + QDir::separator();
}

QString programFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (!isInstalledCopy(executableFolder))
        return executableFolder;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return dataFolder;
}

QString helpFileFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(executableFolder + QStringLiteral("/Quillbox.HLP")))
        return executableFolder;
    return QStringLiteral(QUILLBOX_DATA_DIR);
}
