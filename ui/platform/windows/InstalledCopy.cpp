#include "ui/platform/InstalledCopy.h"

#include <QDir>
#include <shlobj.h>
#include <windows.h>

namespace
{

QString knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

bool isWithin(const QString &folder, const QString &parent)
{
    return !parent.isEmpty() && (folder.compare(parent, Qt::CaseInsensitive) == 0 ||
                                 folder.startsWith(parent + u'/', Qt::CaseInsensitive));
}

// Qt reads only a folder's read-only attribute, never who may write there; only a file made
// there tells. It leaves nothing behind.
bool mayWriteIn(const QString &folder)
{
    const QString probe = QDir::toNativeSeparators(
        folder + QStringLiteral("/.quillbox-%1.probe").arg(GetCurrentProcessId()));
    const HANDLE file =
        CreateFileW(reinterpret_cast<LPCWSTR>(probe.utf16()), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

bool isInstalledCopy(const QString &executableFolder)
{
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(executableFolder));
    for (const KNOWNFOLDERID &programs : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86}) {
        if (isWithin(folder, knownFolder(programs)))
            return true;
    }
    return !mayWriteIn(folder);
}
