/* Copies a text as a plain Windows program does (the end-to-end tests' own other program):
 *
 *   copy_text.exe FILE [FORMAT=NUMBER]...
 *
 * puts the UTF-8 text of FILE on the clipboard as CF_UNICODETEXT, together with each registered
 * format FORMAT holding the 32-bit NUMBER, as password managers mark what they copy. The text
 * comes from a file so that no locale stands between the test's bytes and the clipboard. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

static wchar_t *readText(const wchar_t *path)
{
    FILE *file = _wfopen(path, L"rb");
    if (!file)
        return NULL;
    char *bytes = NULL;
    size_t size = 0;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) {
        char *grown = realloc(bytes, size + got);
        if (!grown) {
            free(bytes);
            fclose(file);
            return NULL;
        }
        bytes = grown;
        memcpy(bytes + size, chunk, got);
        size += got;
    }
    fclose(file);
    const int units =
        size ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, (int)size, NULL, 0) : 0;
    wchar_t *text = calloc((size_t)units + 1, sizeof(wchar_t));
    if (text && units)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, (int)size, text, units);
    free(bytes);
    return text;
}

static HGLOBAL globalCopy(const void *data, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory) {
        memcpy(GlobalLock(memory), data, size);
        GlobalUnlock(memory);
    }
    return memory;
}

/* Another program may hold the clipboard for a moment, as the watcher reading it does. */
static BOOL openClipboard(void)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(NULL))
            return TRUE;
        Sleep(20);
    }
    return FALSE;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: copy_text FILE [FORMAT=NUMBER]...\n");
        return 2;
    }
    wchar_t *text = readText(argv[1]);
    if (!text) {
        fwprintf(stderr, L"cannot read %ls as UTF-8\n", argv[1]);
        return 1;
    }
    if (!openClipboard()) {
        fwprintf(stderr, L"the clipboard stays open: error %lu\n", GetLastError());
        return 1;
    }
    EmptyClipboard();
    BOOL placed = SetClipboardData(CF_UNICODETEXT,
                                   globalCopy(text, (wcslen(text) + 1) * sizeof(wchar_t))) != NULL;
    for (int i = 2; i < argc && placed; ++i) {
        wchar_t *equals = wcschr(argv[i], L'=');
        if (!equals)
            continue;
        *equals = L'\0';
        const DWORD number = wcstoul(equals + 1, NULL, 10);
        const UINT format = RegisterClipboardFormatW(argv[i]);
        placed = format && SetClipboardData(format, globalCopy(&number, sizeof number)) != NULL;
    }
    CloseClipboard();
    free(text);
    if (!placed) {
        fwprintf(stderr, L"SetClipboardData failed: error %lu\n", GetLastError());
        return 1;
    }
    return 0;
}
