#include "ui/Pictures.h"
#include "ui/frmClip.h"
#include "ui/platform/Clipboard.h"
#include "ui/platform/Desktop.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/ProcessControl.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/platform/TrayIcon.h"
#include "ui/widgets/FileList.h"

#include <QAction>
#include <QCloseEvent>

namespace
{

constexpr int closeBox = 0;
constexpr int programUnloads = 1;

} // namespace

void frmClip::wireShell()
{
    connect(mnuClose, &QAction::triggered, this, &frmClip::mnuClose_Click);
    connect(mnuEnd, &QAction::triggered, this, &frmClip::mnuEnd_Click);
    connect(mnuEnd2, &QAction::triggered, this, &frmClip::mnuEnd2_Click);
    // Told from the event loop, not inside the clipboard's own report.
    connect(&platform.clipboard, &Clipboard::unreachable, this, &frmClip::warnOfLostClipboard,
            Qt::QueuedConnection);
}

void frmClip::warnOfLostClipboard()
{
    // Copies made meanwhile are not kept and the copy command does nothing: the user must know,
    // but a compositor that comes and goes again needs no second word.
    if (m_lostClipboardWarned)
        return;
    m_lostClipboardWarned = true;
    platform.dialogs.messageBox(
        QStringLiteral("デスクトップのクリップボードに接続できなくなりました。接続が戻るまで、"
                       "コピーしたテキストの保存とクリップボードへの転送はできません。"),
        MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation, QStringLiteral("Quillbox"));
}

void frmClip::Form_Load()
{
    state.FolderPath = withTrailingSeparator(platform.programFolder);
    state.AppFolder = state.FolderPath;
    Reading = false;
    platform.tray.add(Pictures::windowIcon(), QStringLiteral("Quillbox"), pop2);
    matchTrayWindowType();
    LoadSettings();
    if (m_ended)
        return;
    ApplySettings();
    ShowOptionChecks();
    ArrangeControls();
    flbText->setPath(state.FolderPath);
    flbText->refresh();
}

void frmClip::Form_QueryUnload(int &Cancel, int UnloadMode)
{
    if (UnloadMode != closeBox)
        return;
    SetTopmost(0);
    const int answer = platform.dialogs.messageBox(QStringLiteral("常駐終了しますか？"),
                                                   MsgBoxStyle::YesNo + MsgBoxStyle::Question +
                                                       MsgBoxStyle::DefaultButton2,
                                                   QStringLiteral("Quillbox"));
    if (answer == MsgBoxResult::Yes)
        return;
    SetTopmost(state.Settings[7]);
    HideWindow();
    Cancel = 1;
}

void frmClip::Form_Unload()
{
    platform.tray.remove();
    EndProgram();
}

void frmClip::EndProgram()
{
    m_ended = true;
    platform.process.endProcess();
}

void frmClip::Unload(int UnloadMode)
{
    int cancel = 0;
    Form_QueryUnload(cancel, UnloadMode);
    if (cancel == 0)
        Form_Unload();
}

void frmClip::closeEvent(QCloseEvent *event)
{
    // The window is never destroyed by the close box itself: either the program ends, or the
    // window only hides.
    event->ignore();
    Unload(closeBox);
}

void frmClip::mnuClose_Click()
{
    HideWindow();
}

void frmClip::HideWindow()
{
    // A window hidden without a tray icon to bring it back would leave the program out of reach
    // (a second start is refused), so there it only goes to the task bar. The tray is taken as
    // it is now: a panel may have gone since the start.
    matchTrayWindowType();
    if (platform.tray.isAvailable())
        hide();
    else
        showMinimized();
}

void frmClip::matchTrayWindowType()
{
    // With a tray the window has no task-bar button, for the tray icon reaches it; without one
    // it is reached through the task bar like any other window.
    setTaskBarButton(*this, !platform.tray.isAvailable());
}

void frmClip::followTray(bool available)
{
    matchTrayWindowType();
    // A hidden window without a tray could not be reached again.
    if (!available && !isVisible()) {
        show();
        SetTopmost(state.Settings[7]);
    }
}

void frmClip::mnuEnd_Click()
{
    Unload(programUnloads);
}

void frmClip::mnuEnd2_Click()
{
    Unload(programUnloads);
}
