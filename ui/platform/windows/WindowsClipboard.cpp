#include "ui/platform/windows/WindowsClipboard.h"

#include "ui/platform/LargestText.h"
#include "ui/platform/PlatformError.h"

#include <QClipboard>
#include <QGuiApplication>
#include <cstring>
#include <optional>
#include <windows.h>

namespace
{

UINT registeredFormat(const wchar_t *name)
{
    return RegisterClipboardFormatW(name);
}

// Open for the time of one read or write. Another program may hold the clipboard open for a
// moment (while it writes, or renders what it offered): a few tries wait for that.
class OpenClipboardFor
{
public:
    explicit OpenClipboardFor(HWND window)
    {
        for (int attempt = 0; attempt < 20 && !m_open; ++attempt) {
            m_open = OpenClipboard(window);
            if (!m_open)
                Sleep(10);
        }
        if (!m_open)
            throw PlatformError(ErrorNumber::PathFileAccess,
                                QStringLiteral("クリップボードを開けません"));
    }
    ~OpenClipboardFor() { CloseClipboard(); }
    OpenClipboardFor(const OpenClipboardFor &) = delete;
    OpenClipboardFor &operator=(const OpenClipboardFor &) = delete;

private:
    bool m_open = false;
};

// The value of a format that holds a 32-bit number, if the clipboard holds one.
std::optional<DWORD> numberIn(UINT format)
{
    const HANDLE data = GetClipboardData(format);
    if (!data || GlobalSize(data) < sizeof(DWORD))
        return std::nullopt;
    DWORD value = 0;
    if (const void *bytes = GlobalLock(data)) {
        std::memcpy(&value, bytes, sizeof value);
        GlobalUnlock(data);
        return value;
    }
    return std::nullopt;
}

} // namespace

WindowsClipboard::WindowsClipboard(QObject *parent) : Clipboard(parent), m_textLimit(largestText)
{
    m_window = CreateWindowExW(0, L"STATIC", L"Quillbox clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    // Qt listens to Windows for every change of the clipboard, by whichever program.
    if (QGuiApplication::clipboard()) {
        connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
                [this](QClipboard::Mode mode) {
                    if (mode != QClipboard::Clipboard)
                        return;
                    m_tooLarge = false;
                    Q_EMIT changed();
                });
    }
}

WindowsClipboard::~WindowsClipboard()
{
    if (m_window)
        DestroyWindow(static_cast<HWND>(m_window));
}

bool WindowsClipboard::holdsText()
{
    if (m_tooLarge || !IsClipboardFormatAvailable(CF_UNICODETEXT))
        return false;
    // The marks Windows password managers set for clipboard watchers, as Windows documents them.
    if (IsClipboardFormatAvailable(
            registeredFormat(L"ExcludeClipboardContentFromMonitorProcessing")) ||
        IsClipboardFormatAvailable(registeredFormat(L"Clipboard Viewer Ignore")))
        return false;
    const UINT history = registeredFormat(L"CanIncludeInClipboardHistory");
    const OpenClipboardFor open(static_cast<HWND>(m_window));
    if (IsClipboardFormatAvailable(history) && numberIn(history).value_or(1) == 0)
        return false;
    return textWithinLimit();
}

bool WindowsClipboard::textWithinLimit()
{
    // The text is measured where the owner keeps it, never copied, and one past the limit is left
    // alone until the clipboard changes: asking again would not make it smaller. Windows may give
    // a block more room than asked for, so only a block that could hold more is looked into.
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const qint64 capacity = data ? qint64(GlobalSize(data) / sizeof(wchar_t)) : 0;
    if (m_tooLarge || capacity <= m_textLimit)
        return !m_tooLarge;
    if (const auto *units = static_cast<const wchar_t *>(GlobalLock(data))) {
        m_tooLarge = qint64(wcsnlen(units, size_t(m_textLimit) + 1)) > m_textLimit;
        GlobalUnlock(data);
    }
    return !m_tooLarge;
}

QString WindowsClipboard::text()
{
    const OpenClipboardFor open(static_cast<HWND>(m_window));
    if (!textWithinLimit())
        throw PlatformError(ErrorNumber::PathFileAccess,
                            QStringLiteral("クリップボードのテキストが大きすぎます"));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return QString();
    const auto *units = static_cast<const wchar_t *>(GlobalLock(data));
    if (!units)
        return QString();
    // The text ends at its first NUL, and never past the memory that holds it.
    const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    const QString text = QString::fromWCharArray(units, qsizetype(wcsnlen(units, capacity)));
    GlobalUnlock(data);
    return text;
}

void WindowsClipboard::clear()
{
    const OpenClipboardFor open(static_cast<HWND>(m_window));
    EmptyClipboard();
}

void WindowsClipboard::setText(const QString &text)
{
    const OpenClipboardFor open(static_cast<HWND>(m_window));
    EmptyClipboard();
    const size_t bytes = (size_t(text.size()) + 1) * sizeof(wchar_t);
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!data)
        throw PlatformError(ErrorNumber::PathFileAccess, QStringLiteral("メモリが足りません"));
    auto *units = static_cast<wchar_t *>(GlobalLock(data));
    std::memcpy(units, text.utf16(), bytes - sizeof(wchar_t));
    units[text.size()] = L'\0';
    GlobalUnlock(data);
    // The clipboard owns the memory from here; it is the program's to free only if refused.
    if (!SetClipboardData(CF_UNICODETEXT, data)) {
        GlobalFree(data);
        throw PlatformError(ErrorNumber::PathFileAccess,
                            QStringLiteral("クリップボードに書き込めません"));
    }
}
