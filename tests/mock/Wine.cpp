#include "Wine.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
// Kept out of the header: windows.h names macros after functions (DeleteFile) that the program's
// controls are named after.
#include <windows.h>
#endif

bool runsUnderWine()
{
#ifdef Q_OS_WIN
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}
