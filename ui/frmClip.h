#pragma once

#include "app/ProgramState.h"
#include "ui/platform/Platform.h"

#include <QMainWindow>
#include <array>

class ClipboardLook;
class DriveList;
class FileList;
class FolderList;
class ImageArea;
class LineControl;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;
class SplitterBar;
class TextBox;

// The main window: every control, menu, the capture timer and the window's state. Its handlers
// are defined beside the subsystem they belong to (app/, capture/, library/, ui/).
class frmClip : public QMainWindow
{
    Q_OBJECT
public:
    frmClip(ProgramState &state, const Platform &platform, QWidget *parent = nullptr);
    ~frmClip() override;

    ProgramState &state;
    const Platform &platform;

    // Controls. Their geometry is in pixels of the client area below the menu bar.
    QWidget *client;
    QPushButton *cmdStart;
    QPushButton *cmdCopy;
    QPushButton *cmdUwa;
    QPushButton *cmdName;
    QPushButton *cmdReName;
    QPushButton *cmdDelete;
    DriveList *drvText;
    QLineEdit *txtNameLen;
    QScrollBar *vscNameLen;
    std::array<LineControl *, 2> Line1;
    std::array<QLabel *, 2> lblST;
    FolderList *dirText;
    ImageArea *imgSS1;
    SplitterBar *picSS1;
    FileList *flbText;
    ImageArea *imgSS;
    SplitterBar *picSS;
    TextBox *txtText;
    std::array<QLabel *, 2> picStart;
    ImageArea *imgSt;
    QLabel *lblSts;
    QTimer *Timer1;

    // Menus: the menu bar's three, and the two pop-up menus that are not on it.
    QMenu *mnuFile;
    QMenu *mnuOption;
    QMenu *mnuHelp0;
    QMenu *pop;
    QMenu *pop2;
    QAction *mnuStart;
    QAction *mnuCopy;
    QAction *mnuH4;
    QAction *mnuUwa;
    QAction *mnuName;
    QAction *mnuRename;
    QAction *mnuDelete;
    QAction *mnuH2;
    QAction *mnuClose;
    QAction *mnuEnd;
    QAction *mnuFrmPosi;
    QAction *mnuH0;
    QAction *mnuHelp;
    QAction *mnuH5;
    QAction *mnuVer;
    QAction *mnuUwa2;
    QAction *mnuName2;
    QAction *mnuRename2;
    QAction *DeleteFile;
    QAction *mnuStart2;
    QAction *mnuH3;
    QAction *mnuEnd2;
    // The four option items, by their index into Settings (6 to 9).
    QAction *mnuSet(int index) const;

    // The window's outer rectangle (frame, title bar and menu bar included) in twips, the unit
    // of the stored window position and size (ui/frmClip_window.cpp).
    QRectF outerRectTwips() const;
    void setOuterRectTwips(const QRectF &twips);
    // The least outer size the window takes, in twips.
    QSizeF leastOuterSizeTwips() const;

    // Window state.
    bool DragSS = false;
    qint16 DragSS1 = 0;
    bool Reading = false;
    QString LastClipText;
    QString CurrentFile;

    // Start-up and shutdown (app/frmClip_shell.cpp).
    void Form_Load();
    void Form_QueryUnload(int &Cancel, int UnloadMode);
    void Form_Unload();
    // Runs the closing request with the reason and, unless it is cancelled, ends the program.
    void Unload(int UnloadMode);
    void mnuClose_Click();
    void mnuEnd_Click();
    void mnuEnd2_Click();
    // Hides the window into the tray, or into the task bar where there is no tray.
    void HideWindow();
    // The window has a task-bar button exactly while the desktop has no tray; a tray that goes
    // away shows the hidden window.
    void followTray(bool available);
    // Ends the process; with a test's process control, marks the window as ended instead.
    void EndProgram();
    bool hasEnded() const { return m_ended; }

    // Settings file and options (app/frmClip_settings.cpp).
    void LoadSettings();
    void SaveSettings();
    void ApplySettings();
    void ShowOptionChecks();
    void mnuFrmPosi_Click();
    void mnuSet_Click(int Index);

    // Tray icon, topmost window, help and about (app/frmClip_tray.cpp).
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void SetTopmost(float topmost);
    void mnuHelp_Click();
    void mnuVer_Click();

    // Capture (capture/frmClip_capture.cpp).
    void Timer1_Timer();
    void cmdStart_Click();
    void mnuStart_Click();
    void mnuStart2_Click();
    void ApplyReadingState(bool reading);
    void vscNameLen_Change();

    // Drive, folder and file lists (library/frmClip_lists.cpp).
    void drvText_Change();
    void dirText_Change();
    void flbText_Click();
    void MenuChange(bool enable);

    // Viewing a file (library/frmClip_viewer.cpp).
    void flbText_MouseDown(int Button);
    void txtText_Change();

    // Save, save as and rename (library/frmClip_save.cpp).
    void mnuUwa_Click();
    void mnuName_Click();
    void mnuRename_Click();
    void cmdUwa_Click();
    void mnuUwa2_Click();
    void cmdName_Click();
    void mnuName2_Click();
    void cmdReName_Click();
    void mnuRename2_Click();

    // Delete and copy (library/frmClip_delete.cpp).
    void DeleteFile_Click();
    void cmdDelete_Click();
    void mnuDelete_Click();
    void cmdCopy_Click();
    void mnuCopy_Click();

    // Layout and splitters (ui/frmClip_layout.cpp, ui/frmClip_splitters.cpp).
    void ArrangeControls();
    void Form_Resize();
    void imgSS_MouseDown(int Button, int Shift, float X, float Y);
    void imgSS_MouseMove(int Button, int Shift, float X, float Y);
    void imgSS_MouseUp(int Button, int Shift, float X, float Y);
    void imgSS1_MouseDown(int Button, int Shift, float X, float Y);
    void imgSS1_MouseMove(int Button, int Shift, float X, float Y);
    void imgSS1_MouseUp(int Button, int Shift, float X, float Y);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void createControls();
    void createMenus();
    void setTabOrder();

    // Each subsystem connects its own controls to its handlers.
    void wireShell();
    void wireSettings();
    void wireTray();
    void wireCapture();
    void wireLists();
    void wireViewer();
    void wireFileCommands();
    void wireLayout();

    // Layout (ui/frmClip_layout.cpp) and the window's frame (ui/frmClip_window.cpp).
    QSize leastClientSize() const;
    QSizeF layoutOuterSize();
    bool isFramed() const;
    QMargins windowFrame() const;
    void completeOuterSize();
    QRect m_pendingOuterRect;

    std::array<QAction *, 4> m_mnuSet{};
    bool m_ended = false;
    // Tells the user, once a run, that the desktop's clipboard has gone out of reach.
    void warnOfLostClipboard();
    bool m_lostClipboardWarned = false;

    // Settings and tray: their own private helpers and state.
    void matchTrayWindowType();
    void showFromTray();
    // Holds stored values that cannot serve on this desktop to ones that can
    // (app/UsableSettings.h).
    void HoldUsableSettings();

    // Capture: its own private helpers and state.
    // The file of a capture: the name from the text, its numbering, the fallback name, the write.
    void saveCapture(int &counter);
    // The existence test of a capture name; throws error 53 for a name that cannot be used.
    bool captureNameTaken(const QString &base) const;
    ClipboardLook *m_clipboardLook = nullptr;
    // A tick came while a box or menu was open, and runs again once it has closed.
    bool m_captureHeld = false;
    // Tells the user, once a run, that this desktop lets only copies made while the window is
    // active reach the program.
    void warnOfFocusOnlyClipboard();
    bool m_focusWarningShown = false;
    // Tells the user, once a run, that a text was too large to keep.
    void warnOfTooLargeText();
    bool m_tooLargeWarningShown = false;

    // Library: its own private helpers and state.
    // The file whose text the pane holds, edited or not: set by a load, let go whenever the pane
    // is given another text. Overwrite save and rename write the pane over this file only.
    QString m_paneFile;
    // Whether the pane holds the text of the file at the path; the user is told why not.
    bool paneHoldsFile(const QString &command, const QString &path);
    // Tells the user why a file command failed, in a box titled with the command's name.
    void showCommandFailure(const QString &command, const QString &text);
    // Tells the user why a file command declined to write, in a box titled with its name.
    void showCommandRefusal(const QString &command, const QString &text);
    // Asks for a file name; the base name to save under, or empty when the user cancelled or
    // gave a name that cannot be used (the user has then been told why).
    QString askBaseName(const QString &command, const QString &currentName);
};
