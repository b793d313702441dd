#include "app/SettingsFile.h"
#include "app/SettingsStorage.h"
#include "app/UsableSettings.h"
#include "ui/frmClip.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/PlatformError.h"
#include "ui/platform/TrayIcon.h"
#include "ui/widgets/DriveList.h"
#include "ui/widgets/FolderList.h"
#include "ui/widgets/SplitterBar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace
{

QRectF inTwips(const QRect &pixels, const ScreenMetrics &metrics)
{
    return QRectF(pixels.x() * metrics.twipsPerPixelX, pixels.y() * metrics.twipsPerPixelY,
                  pixels.width() * metrics.twipsPerPixelX,
                  pixels.height() * metrics.twipsPerPixelY);
}

QList<QRectF> screenAreasTwips(const ScreenMetrics &metrics)
{
    QList<QRectF> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << inTwips(screen->availableGeometry(), metrics);
    return areas;
}

QRectF primaryAreaTwips(const ScreenMetrics &metrics)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return inTwips(screen->availableGeometry(), metrics);
    return QRectF(0, 0, metrics.widthTwips(), metrics.heightTwips());
}

// The drive list is a combo box and the folder list a list view: both show their entries on the
// base colour, and the combo box its frame on the button colour.
void setListBackground(QWidget *list, const QColor &colour)
{
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    list->setPalette(palette);
}

} // namespace

void frmClip::wireSettings()
{
    connect(mnuFrmPosi, &QAction::triggered, this, &frmClip::mnuFrmPosi_Click);
    for (int index = 6; index <= 9; ++index)
        connect(mnuSet(index), &QAction::triggered, this, [this, index] { mnuSet_Click(index); });
}

void frmClip::LoadSettings()
{
    auto &s = state.Settings;
    const QString path = settingsFilePath(state.AppFolder);
    try {
        checkSettingsPath(path);
        if (!settingsFileExists(path)) {
            s = defaultSettings(platform.screen());
            SaveSettings();
        }
        const SettingsItems items = readSettingsItems(readSettingsFile(path), systemCodePage());
        std::copy_n(items.values.cbegin(), items.valuesRead, s.begin());
        if (items.folderRead)
            state.FolderPath = items.folder;
    } catch (const PlatformError &error) {
        if (error.number() == ErrorNumber::BadFileName) {
            platform.dialogs.messageBox(QStringLiteral("INIﾌｧｲﾙが見つかりません"),
                                        MsgBoxStyle::Critical, QStringLiteral("警告"));
            EndProgram();
            return;
        }
    }
    HoldUsableSettings();
}

void frmClip::HoldUsableSettings()
{
    auto &s = state.Settings;
    const ScreenMetrics metrics = platform.screen();
    const QRectF window =
        usableWindowRect(QRectF(s[0], s[1], s[2], s[3]), screenAreasTwips(metrics),
                         primaryAreaTwips(metrics), leastOuterSizeTwips());
    s[0] = float(window.x());
    s[1] = float(window.y());
    s[2] = float(window.width());
    s[3] = float(window.height());
    s[4] = usableVerticalSplitter(s[4], s[2] / metrics.twipsPerPixelX);
    s[5] = usableHorizontalSplitter(s[5], s[3] / metrics.twipsPerPixelY);
    s[10] = usableNameLength(s[10]);
    state.FolderPath = usableFolder(state.FolderPath, state.AppFolder);
}

void frmClip::SaveSettings()
{
    replaceSettingsFile(settingsFilePath(state.AppFolder),
                        settingsFileBytes(state.Settings, state.FolderPath, systemCodePage()));
}

void frmClip::ApplySettings()
{
    const auto &s = state.Settings;
    setOuterRectTwips(QRectF(s[0], s[1], s[2], s[3]));
    picSS->setLeft(s[4]);
    vscNameLen->setValue(int(std::nearbyint(s[10])));
    picSS1->setTop(s[5]);

    const bool unlocked = s[8] == 0;
    dirText->setEnabled(unlocked);
    drvText->setEnabled(unlocked);
    const QPalette desktop = QApplication::palette();
    const QColor background =
        s[8] == -1 ? desktop.color(QPalette::Button) : desktop.color(QPalette::Base);
    setListBackground(dirText, background);
    setListBackground(drvText, background);

    // A folder removed while the program runs cannot be shown: the program folder stands in.
    const QString folder = usableFolder(state.FolderPath, state.AppFolder);
    state.FolderPath = folder;
    try {
        drvText->setDrive(folder);
        dirText->setPath(folder);
    } catch (const PlatformError &) {
        // The program folder itself is gone: the lists stay where they are.
    }

    // Without a tray the window is the only way to reach the program.
    if (s[6] != 0 || !platform.tray.isAvailable()) {
        show();
        SetTopmost(s[7]);
    } else {
        hide();
    }
    ApplyReadingState(Reading);
}

void frmClip::ShowOptionChecks()
{
    for (int index = 6; index <= 9; ++index)
        mnuSet(index)->setChecked(state.Settings[index] != 0);
}

void frmClip::mnuFrmPosi_Click()
{
    auto &s = state.Settings;
    const QRectF outer = outerRectTwips();
    s[0] = float(outer.x());
    s[1] = float(outer.y());
    s[2] = float(outer.width());
    s[3] = float(outer.height());
    s[4] = picSS->left();
    s[10] = float(vscNameLen->value());
    s[5] = picSS1->top();
    try {
        SaveSettings();
    } catch (const PlatformError &error) {
        SetTopmost(0);
        platform.dialogs.messageBox(
            QStringLiteral("設定を保存できませんでした。\n%1\n\n"
                           "いまの設定はこのまま使えますが、次の起動には引き継がれません。")
                .arg(error.reason()),
            MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation,
            QStringLiteral("設定及び表示状態の保存"));
        SetTopmost(s[7]);
    }
}

void frmClip::mnuSet_Click(int Index)
{
    auto &s = state.Settings;
    s[Index] = s[Index] == 0 ? -1 : 0;
    // Applying the settings moves the captures off a folder that has vanished. The file is to
    // name the folder that is in use, and the user is to know where the captures go now.
    const QString chosen = state.FolderPath;
    state.FolderPath = usableFolder(chosen, state.AppFolder);
    const bool folderVanished = state.FolderPath != chosen;
    mnuFrmPosi_Click();
    ShowOptionChecks();
    ApplySettings();
    SetTopmost(s[7]);
    if (Index == 9)
        ArrangeControls();
    if (folderVanished) {
        SetTopmost(0);
        platform.dialogs.messageBox(
            QStringLiteral("保存先のフォルダーが見つかりません。\n%1\n\n"
                           "保存先をプログラムのフォルダーに変更しました。\n%2")
                .arg(QDir::toNativeSeparators(chosen), QDir::toNativeSeparators(state.FolderPath)),
            MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation, QStringLiteral("Quillbox"));
        SetTopmost(s[7]);
    }
}
