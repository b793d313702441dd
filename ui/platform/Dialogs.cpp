#include "ui/platform/Dialogs.h"

namespace
{

// Counts a box as open for as long as it lives, however the box ends.
class OpenBox
{
public:
    OpenBox(int &open, Dialogs &dialogs) : m_open(open), m_dialogs(dialogs) { ++m_open; }
    ~OpenBox()
    {
        if (--m_open == 0)
            Q_EMIT m_dialogs.closed();
    }

private:
    int &m_open;
    Dialogs &m_dialogs;
};

} // namespace

int Dialogs::messageBox(const QString &text, int style, const QString &title)
{
    const OpenBox open(m_open, *this);
    return runMessageBox(text, style, title);
}

QString Dialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultAnswer)
{
    const OpenBox open(m_open, *this);
    return runInputBox(prompt, title, defaultAnswer);
}

void Dialogs::showModal(QDialog &dialog)
{
    const OpenBox open(m_open, *this);
    runModal(dialog);
}
