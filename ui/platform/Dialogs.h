#pragma once

#include <QObject>
#include <QString>

class QDialog;

// Style numbers are sums of one button set, one icon and one default-button flag.
namespace MsgBoxStyle
{
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
} // namespace MsgBoxStyle

namespace MsgBoxResult
{
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBoxResult

// The program's only way to ask the user something. Every box is modal, yet timers and
// reported changes still run while one is open: what must not happen under a box asks isOpen().
class Dialogs : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Returns the number of the button chosen.
    int messageBox(const QString &text, int style, const QString &title);
    // Returns the typed text, or the empty string when the user cancels.
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultAnswer);
    // Shows a window of the program's own modally and returns when it is closed.
    void showModal(QDialog &dialog);

    bool isOpen() const { return m_open > 0; }

Q_SIGNALS:
    // The last box that was open has closed.
    void closed();

protected:
    virtual int runMessageBox(const QString &text, int style, const QString &title) = 0;
    virtual QString runInputBox(const QString &prompt, const QString &title,
                                const QString &defaultAnswer) = 0;
    virtual void runModal(QDialog &dialog) = 0;

private:
    int m_open = 0;
};
