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

    // False also when a password manager marks the data for clipboard tools to leave alone, and
    // when the text is larger than the program takes in, until the clipboard's next change.
    bool holdsText() override;
    // A clipboard that another program holds open past a moment throws a PlatformError (also
    // from holdsText), and so does one whose text is too large.
    QString text() override;
    void clear() override;
    void setText(const QString &text) override;
    bool reportsChanges() const override { return true; }
    bool textTooLarge() const override { return m_tooLarge; }

    // The largest text taken in, in UTF-16 units (the text's size in memory, as a Linux text of
    // that many bytes takes at most); largestText unless set.
    void setTextLimit(qint64 bytes) { m_textLimit = bytes; }

private:
    // Whether the text the clipboard holds now is within the limit; it is not copied to find out.
    bool textWithinLimit();

    // The clipboard's owner while the program writes it: a message-only window of its own.
    void *m_window = nullptr;
    qint64 m_textLimit;
    bool m_tooLarge = false;
};
