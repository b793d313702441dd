#include "ui/platform/InstalledCopy.h"

#include <QDir>
#include <QFileInfo>

bool isInstalledCopy(const QString &executableFolder)
{
    // Where packages and `cmake --install` put programs.
    const QString cleaned = QDir::cleanPath(executableFolder);
    const bool systemFolder =
        cleaned == QStringLiteral("/usr/bin") || cleaned == QStringLiteral("/usr/local/bin");
    return systemFolder || !QFileInfo(executableFolder).isWritable();
}
