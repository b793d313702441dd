#include "capture/CaptureFile.h"

#include "capture/FileNameRule.h"
#include "ui/platform/PlatformError.h"

#include <QDir>
#include <QFileInfo>
#include <windows.h>

namespace
{

LPCWSTR wide(const QString &path)
{
    return reinterpret_cast<LPCWSTR>(path.utf16());
}

[[noreturn]] void fail(int number, DWORD error, const QString &path)
{
    throw PlatformError(number, QStringLiteral("%1: %2").arg(path, qt_error_string(int(error))));
}

int writeFailureNumber(DWORD error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL
               ? ErrorNumber::DiskFull
               : ErrorNumber::PathFileAccess;
}

// A failure of a call that names the path. A name the file system refuses is what the program's
// name fallback is for.
[[noreturn]] void failNaming(DWORD error, const QString &path)
{
    const bool nameRefused = error == ERROR_INVALID_NAME || error == ERROR_BAD_PATHNAME ||
                             error == ERROR_FILENAME_EXCED_RANGE;
    fail(nameRefused ? ErrorNumber::FileNotFound : writeFailureNumber(error), error, path);
}

// Windows takes some names for something else: a device (con.txt), a stream of another file
// (a:b.txt), or a name without its trailing dots and blanks. A file written under such a name
// would not be found under it again, or not be written at all; nor would one longer than the
// 255 units a name holds on Windows' file systems.
void refuseNameWindowsReshapes(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.size() > 255 || name.endsWith(u'.') || name.endsWith(u' ') ||
        !isUsableBaseName(name))
        fail(ErrorNumber::FileNotFound, ERROR_INVALID_NAME, path);
}

bool writeAll(HANDLE file, const QByteArray &bytes, DWORD &error)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - written, 1 << 24));
        DWORD done = 0;
        if (!WriteFile(file, bytes.constData() + written, chunk, &done, nullptr) || done == 0) {
            error = GetLastError();
            return false;
        }
        written += done;
    }
    if (!FlushFileBuffers(file)) {
        error = GetLastError();
        return false;
    }
    return true;
}

} // namespace

QString writeTemporaryBeside(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).path();
    for (int attempt = 0;; ++attempt) {
        const QString temporary = QDir::toNativeSeparators(
            folder +
            QStringLiteral("/.quillbox-%1-%2.tmp").arg(GetCurrentProcessId()).arg(attempt));
        const HANDLE file = CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            // Only a leftover of an earlier run is worth another name; a missing or closed
            // folder is not.
            if ((error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) && attempt < 100)
                continue;
            fail(ErrorNumber::PathFileAccess, error, temporary);
        }
        DWORD error = ERROR_SUCCESS;
        const bool written = writeAll(file, bytes, error);
        CloseHandle(file);
        if (!written) {
            DeleteFileW(wide(temporary));
            fail(writeFailureNumber(error), error, path);
        }
        return temporary;
    }
}

bool plainFileExists(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    refuseNameWindowsReshapes(native);
    const DWORD attributes = GetFileAttributesW(wide(native));
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    const DWORD error = GetLastError();
    if (error == ERROR_INVALID_NAME || error == ERROR_FILENAME_EXCED_RANGE)
        failNaming(error, path);
    return false;
}

bool writeNewFile(const QString &path, const QByteArray &bytes)
{
    const QString target = QDir::toNativeSeparators(path);
    refuseNameWindowsReshapes(target);
    const QString temporary = writeTemporaryBeside(target, bytes);
    // Without MOVEFILE_REPLACE_EXISTING the move never replaces a file of that name.
    if (MoveFileExW(wide(temporary), wide(target), MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = GetLastError();
    DeleteFileW(wide(temporary));
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return false;
    failNaming(error, path);
}

bool replaceWithTemporary(const QString &temporary, const QString &path)
{
    const QString from = QDir::toNativeSeparators(temporary);
    const QString to = QDir::toNativeSeparators(path);
    if (ReplaceFileW(wide(to), wide(from), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return true;
    return GetLastError() == ERROR_FILE_NOT_FOUND &&
           MoveFileExW(wide(from), wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
