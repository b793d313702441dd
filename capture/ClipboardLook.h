#pragma once

#include <QObject>
#include <QString>

class Clipboard;

// The clipboard as the capture tick looks at it. Where the platform reports every change, what
// the last look found stays valid until the next report, so an unchanged clipboard is not read
// again (under X11 every read moves the whole text from its owner). Elsewhere every look reads.
class ClipboardLook : public QObject
{
    Q_OBJECT
public:
    explicit ClipboardLook(Clipboard &clipboard, QObject *parent = nullptr);

    bool holdsText();
    QString text();
    bool textTooLarge() const;

Q_SIGNALS:
    // The platform reported a change; the next look reads the clipboard again.
    void changed();

private:
    Clipboard &m_clipboard;
    bool m_holdsTextKnown = false;
    bool m_holdsText = false;
    bool m_textKnown = false;
    QString m_text;
};
