#include "ui/platform/windows/DriveLetters.h"

#include <windows.h>

QList<DriveList::Drive> driveLetters()
{
    // A drive without a medium must not make Windows ask the user to insert one.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
    QList<DriveList::Drive> drives;
    const DWORD letters = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(letters & (1u << letter)))
            continue;
        const QString root = QChar(u'A' + letter) + QStringLiteral(":\\");
        wchar_t label[MAX_PATH + 1] = {};
        if (!GetVolumeInformationW(reinterpret_cast<LPCWSTR>(root.utf16()), label, MAX_PATH + 1,
                                   nullptr, nullptr, nullptr, nullptr, 0))
            label[0] = 0;
        drives.append({root, QString::fromWCharArray(label)});
    }
    SetThreadErrorMode(oldMode, nullptr);
    return drives;
}
