#include "ui/frmClip.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/PlatformError.h"
#include "ui/platform/ProgramFolder.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QPushButton>

void frmClip::wireLists()
{
    drvText->setDrives(DriveList::mountedDrives());
    connect(drvText, &DriveList::driveChanged, this, &frmClip::drvText_Change);
    connect(dirText, &FolderList::pathChanged, this, &frmClip::dirText_Change);
    connect(flbText, &FileList::selectedFilesChanged, this, &frmClip::flbText_Click);
}

void frmClip::drvText_Change()
{
    try {
        dirText->openDrive(drvText->drive());
    } catch (const PlatformError &error) {
        if (error.number() != ErrorNumber::DeviceUnavailable)
            return;
        SetTopmost(0);
        platform.dialogs.messageBox(QStringLiteral("ﾃﾞｨｽｸがｾｯﾄされていません"),
                                    MsgBoxStyle::OkOnly + MsgBoxStyle::Critical,
                                    QStringLiteral("警告"));
        SetTopmost(state.Settings[7]);
        drvText->setDrive(state.FolderPath);
    }
}

void frmClip::dirText_Change()
{
    state.FolderPath = withTrailingSeparator(dirText->path());
    {
        // The folder list reaches every folder from the root down, so it may have left the
        // drive shown; the drive list follows without opening that drive's folder again.
        const QSignalBlocker quiet(drvText);
        drvText->setDrive(state.FolderPath);
    }
    if (flbText->path() == state.FolderPath)
        flbText->refresh();
    else
        flbText->setPath(state.FolderPath);
    txtText->setText(QString());
}

void frmClip::flbText_Click()
{
    MenuChange(flbText->selectedCount() < 2);
}

void frmClip::MenuChange(bool enable)
{
    for (QPushButton *button : {cmdUwa, cmdName, cmdReName})
        button->setEnabled(enable);
    for (QAction *item : {mnuUwa, mnuName, mnuRename, mnuUwa2, mnuName2, mnuRename2})
        item->setEnabled(enable);
}
