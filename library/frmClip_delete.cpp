#include "ui/frmClip.h"
#include "ui/platform/Clipboard.h"
#include "ui/platform/Dialogs.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace
{

// More names than this would make the box taller than the screen.
constexpr qsizetype namesShown = 20;

QString deleteFailureReason(const QString &path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("フォルダーです");
    if (!QFileInfo(file.absolutePath()).isWritable())
        return QStringLiteral("フォルダーに書き込む権限がありません");
    return QStringLiteral("使用中か、削除が許可されていません");
}

QString deleteFailureText(const QStringList &failures)
{
    QString text = QStringLiteral("次のファイルを削除できませんでした。\n");
    for (qsizetype i = 0; i < std::min(failures.size(), namesShown); ++i)
        text += u'\n' + failures.at(i);
    if (failures.size() > namesShown)
        text += QStringLiteral("\nほか %1 件").arg(failures.size() - namesShown);
    return text;
}

} // namespace

void frmClip::DeleteFile_Click()
{
    if (flbText->fileName().isEmpty())
        return;
    SetTopmost(0);
    const int answer = platform.dialogs.messageBox(QStringLiteral("削除していいですか？"),
                                                   MsgBoxStyle::OkCancel + MsgBoxStyle::Question +
                                                       MsgBoxStyle::DefaultButton2,
                                                   QStringLiteral("ﾌｧｲﾙの削除"));
    SetTopmost(state.Settings[7]);
    if (answer != MsgBoxResult::Ok)
        return;
    QStringList failures;
    for (const QString &name : flbText->selectedEntries()) {
        CurrentFile = state.FolderPath + name;
        // A file someone else removed in the meantime is gone as the user wished.
        if (!QFile::remove(CurrentFile) && QFileInfo::exists(CurrentFile))
            failures << QStringLiteral("%1（%2）").arg(name, deleteFailureReason(CurrentFile));
    }
    flbText->refresh();
    txtText->setText(QString());
    lblST[0]->setText(QString());
    if (!failures.isEmpty())
        showCommandFailure(QStringLiteral("ﾌｧｲﾙの削除"), deleteFailureText(failures));
}

void frmClip::cmdDelete_Click()
{
    DeleteFile_Click();
}

void frmClip::mnuDelete_Click()
{
    DeleteFile_Click();
}

void frmClip::cmdCopy_Click()
{
    if (txtText->isEmpty())
        return;
    LastClipText = txtText->text();
    platform.clipboard.clear();
    platform.clipboard.setText(LastClipText);
}

void frmClip::mnuCopy_Click()
{
    cmdCopy_Click();
}
