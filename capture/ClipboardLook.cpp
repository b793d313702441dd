#include "capture/ClipboardLook.h"

#include "ui/platform/Clipboard.h"

ClipboardLook::ClipboardLook(Clipboard &clipboard, QObject *parent)
    : QObject(parent), m_clipboard(clipboard)
{
    connect(&clipboard, &Clipboard::changed, this, [this] {
        m_holdsTextKnown = false;
        m_textKnown = false;
        m_text = QString();
        Q_EMIT changed();
    });
}

bool ClipboardLook::holdsText()
{
    if (!m_holdsTextKnown || !m_clipboard.reportsChanges()) {
        m_holdsText = m_clipboard.holdsText();
        m_holdsTextKnown = true;
    }
    return m_holdsText;
}

QString ClipboardLook::text()
{
    if (!m_textKnown || !m_clipboard.reportsChanges()) {
        m_text = m_clipboard.text();
        m_textKnown = true;
    }
    return m_text;
}

bool ClipboardLook::textTooLarge() const
{
    return m_clipboard.textTooLarge();
}
