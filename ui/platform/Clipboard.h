#pragma once

#include <QObject>
#include <QString>

// The desktop's clipboard as the program sees it: plain text only.
class Clipboard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // False also when the data is marked secret: secrets count as holding no text. Looking at a
    // clipboard whose contents are not known yet may start reading them.
    virtual bool holdsText() = 0;
    virtual QString text() = 0;
    virtual void clear() = 0;
    virtual void setText(const QString &text) = 0;
    // Whether changed() comes for every change made by any program, so that a clipboard with no
    // change reported since the last read still holds what that read found.
    virtual bool reportsChanges() const { return false; }
    // Whether copies made while another program's window has the focus reach the program.
    virtual bool watchesWithoutFocus() const { return true; }
    // Whether the clipboard holds no text because its text was too large to take in.
    virtual bool textTooLarge() const { return false; }

Q_SIGNALS:
    // Raised where the platform reports a change of the clipboard's owner or contents.
    void changed();
    // The desktop's clipboard went out of reach, as when its compositor has gone: nothing is
    // read or written until it is back.
    void unreachable();
};
