#pragma once

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

// The program's only way to ask the user something. Both boxes are modal.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Returns the number of the button chosen.
    virtual int messageBox(const QString &text, int style, const QString &title) = 0;
    // Returns the typed text, or the empty string when the user cancels.
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultAnswer) = 0;
    // Shows a window of the program's own modally and returns when it is closed.
    virtual void showModal(QDialog &dialog) = 0;
};
