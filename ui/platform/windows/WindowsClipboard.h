#pragma once

#include "ui/platform/Clipboard.h"

// The Windows clipboard read and written as Windows holds it: the text of CF_UNICODETEXT exactly,
// its line ends included. (Qt's clipboard turns CR LF into LF when it reads and LF into CR LF when
// it writes, and a capture keeps the copied text's bytes.) Qt reports each change: Windows tells
// every clipboard listener of each one, whether or not the program's window has the focus.
class WindowsClipboard : public Clipboard
{
    Q_OBJECT
public:
    explicit WindowsClipboard(QObject *parent = nullptr);
    ~WindowsClipboard() override;

    // False also when a password manager marks the data for clipboard tools to leave alone.
    bool holdsText() override;
    // A clipboard that another program holds open past a moment throws a PlatformError.
    QString text() override;
    void clear() override;
    void setText(const QString &text) override;
    bool reportsChanges() const override { return true; }

private:
    // The clipboard's owner while the program writes it: a message-only window of its own.
    void *m_window = nullptr;
};
