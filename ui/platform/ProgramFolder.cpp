#include "ui/platform/ProgramFolder.h"

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

namespace
{

// Where packages and `cmake --install` put programs. A copy there is an installed one even when
// its user may write there (root): settings and captures never go in among the system's programs,
// where removing the package would leave them behind.
bool isSystemProgramFolder(const QString &folder)
{
    const QString cleaned = QDir::cleanPath(folder);
    return cleaned == QStringLiteral("/usr/bin") || cleaned == QStringLiteral("/usr/local/bin");
}

} // namespace

QString programFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableFolder).isWritable() && !isSystemProgramFolder(executableFolder))
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
