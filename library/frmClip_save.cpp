#include "capture/FileNameRule.h"
#include "library/SaveName.h"
#include "library/TextFileLoader.h"
#include "library/TextFileWriter.h"
#include "ui/frmClip.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/PlatformError.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <optional>

namespace
{

const QString overwriteSave = QStringLiteral("上書き保存");
const QString saveAs = QStringLiteral("名前を付けて保存");
const QString renameFile = QStringLiteral("ﾌｧｲﾙ名の変更");

// Two names of one file, where the file system ignores case; a link is a name of its own.
bool isSameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QFileInfo first(a);
    const QFileInfo second(b);
    return !first.isSymLink() && !second.isSymLink() && first.exists() && second.exists() &&
           first == second;
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The code page the file was read in, judged from its bytes as the viewer reads them; nothing when
// the memory does not hold them. A file that is gone, cannot be read, is too large for the pane or
// is no file at all has no code page to keep: it is written as a new file is.
std::optional<ReadCodePage> codePageOfFile(const QString &path)
{
    try {
        return codePageRead(readFileBytes(path), systemCodePage());
    } catch (const PlatformError &) {
    } catch (const FileNotRead &) {
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
    return ReadCodePage{systemCodePage(), true};
}

QString tooLittleMemoryToSave(const QString &name)
{
    return QStringLiteral("メモリーが足りないため、「%1」を保存できませんでした。").arg(name);
}

// Whether the user lets the command write over a file that has bytes no code page could read:
// the pane shows them as replacement characters, so the file's own bytes would be lost.
bool mayLoseUnreadBytes(frmClip &window, const QString &command, const QString &action,
                        const QString &name)
{
    window.SetTopmost(0);
    const int answer = window.platform.dialogs.messageBox(
        QStringLiteral("「%1」には文字として読めないデータがあり、「\uFFFD」に置き換えて表示"
                       "されます。\n%2すると、読めなかったデータは元に戻せません。\n%2しますか？")
            .arg(name, action),
        MsgBoxStyle::OkCancel + MsgBoxStyle::Question, command);
    window.SetTopmost(window.state.Settings[7]);
    return answer == MsgBoxResult::Ok;
}

} // namespace

void frmClip::wireFileCommands()
{
    connect(cmdUwa, &QPushButton::clicked, this, &frmClip::cmdUwa_Click);
    connect(mnuUwa, &QAction::triggered, this, &frmClip::mnuUwa_Click);
    connect(mnuUwa2, &QAction::triggered, this, &frmClip::mnuUwa2_Click);
    connect(cmdName, &QPushButton::clicked, this, &frmClip::cmdName_Click);
    connect(mnuName, &QAction::triggered, this, &frmClip::mnuName_Click);
    connect(mnuName2, &QAction::triggered, this, &frmClip::mnuName2_Click);
    connect(cmdReName, &QPushButton::clicked, this, &frmClip::cmdReName_Click);
    connect(mnuRename, &QAction::triggered, this, &frmClip::mnuRename_Click);
    connect(mnuRename2, &QAction::triggered, this, &frmClip::mnuRename2_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmClip::cmdDelete_Click);
    connect(mnuDelete, &QAction::triggered, this, &frmClip::mnuDelete_Click);
    connect(DeleteFile, &QAction::triggered, this, &frmClip::DeleteFile_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmClip::cmdCopy_Click);
    connect(mnuCopy, &QAction::triggered, this, &frmClip::mnuCopy_Click);
}

void frmClip::showCommandFailure(const QString &command, const QString &text)
{
    SetTopmost(0);
    platform.dialogs.messageBox(text, MsgBoxStyle::OkOnly + MsgBoxStyle::Critical, command);
    SetTopmost(state.Settings[7]);
}

void frmClip::showCommandRefusal(const QString &command, const QString &text)
{
    SetTopmost(0);
    platform.dialogs.messageBox(text, MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation, command);
    SetTopmost(state.Settings[7]);
}

bool frmClip::paneHoldsFile(const QString &command, const QString &path)
{
    if (path == m_paneFile)
        return true;
    const QString action = command == overwriteSave ? overwriteSave : QStringLiteral("名前を変更");
    const QString whose =
        m_paneFile.isEmpty()
            ? QStringLiteral("表示中のテキストは「%1」から読み込んだものではありません。")
                  .arg(fileNameOf(path))
            : QStringLiteral("表示中のテキストは「%1」から読み込んだもので、「%2」のものでは"
                             "ありません。")
                  .arg(fileNameOf(m_paneFile), fileNameOf(path));
    showCommandRefusal(command,
                       whose + QStringLiteral("\nそのため%1できません。表示中のテキストを"
                                              "残すには「名前を付けて保存」を使ってください。")
                                   .arg(action));
    return false;
}

QString frmClip::askBaseName(const QString &command, const QString &currentName)
{
    const QString answer = platform.dialogs.inputBox(QStringLiteral("ファイル名を入力してください"),
                                                     command, currentName);
    if (answer.isEmpty())
        return QString();
    const QString base = baseNameFromAnswer(answer);
    if (!isUsableBaseName(base)) {
        showCommandFailure(command,
                           QStringLiteral("「%1」はファイル名に使えません。\n"
                                          "\\ / : * ? \" < > | と制御文字、CON や NUL などの"
                                          "予約された名前は使えません。")
                               .arg(answer));
        return QString();
    }
    return base;
}

void frmClip::mnuUwa_Click()
{
    const QString name = flbText->fileName();
    if (name.isEmpty())
        return;
    CurrentFile = state.FolderPath + name;
    if (!paneHoldsFile(overwriteSave, CurrentFile))
        return;
    const QString text = txtText->text();
    const std::optional<ReadCodePage> read = codePageOfFile(CurrentFile);
    if (!read) {
        showCommandFailure(overwriteSave, tooLittleMemoryToSave(name));
        return;
    }
    if (!read->whole && !mayLoseUnreadBytes(*this, overwriteSave, overwriteSave, name))
        return;
    const QString notSaved = QStringLiteral("「%1」を保存できませんでした。\n%2");
    try {
        replaceTextFile(CurrentFile, text, read->codePage);
    } catch (const LinkRefused &refusal) {
        showCommandRefusal(overwriteSave, notSaved.arg(name, refusal.reason()));
        return;
    } catch (const PlatformError &error) {
        showCommandFailure(overwriteSave, notSaved.arg(name, error.reason()));
        return;
    }
    flbText->refresh();
    lblST[0]->setText(QString());
}

void frmClip::mnuName_Click()
{
    const QString name = flbText->fileName();
    if (name.isEmpty())
        return;
    CurrentFile = state.FolderPath + name;
    const QString base = askBaseName(saveAs, name);
    if (base.isEmpty())
        return;
    const QString text = txtText->text();
    QString target = state.FolderPath + numberedFileName(base, 0);
    try {
        writeUnderFirstFreeName(
            state.FolderPath, base, nameTaken,
            [&](const QString &path) { return writeNewTextFile(path, text, systemCodePage()); },
            target);
    } catch (const PlatformError &error) {
        showCommandFailure(saveAs, QStringLiteral("「%1」を保存できませんでした。\n%2")
                                       .arg(fileNameOf(target), error.reason()));
        return;
    }
    CurrentFile = target;
    flbText->refresh();
    lblST[0]->setText(QString());
}

void frmClip::mnuRename_Click()
{
    const QString name = flbText->fileName();
    if (name.isEmpty())
        return;
    const QString old = state.FolderPath + name;
    CurrentFile = old;
    if (!paneHoldsFile(renameFile, old))
        return;
    const QString base = askBaseName(renameFile, name);
    if (base.isEmpty())
        return;
    const QString text = txtText->text();
    // The file keeps its code page under its new name.
    const std::optional<ReadCodePage> read = codePageOfFile(old);
    if (!read) {
        showCommandFailure(renameFile, tooLittleMemoryToSave(name));
        return;
    }
    if (!read->whole && !mayLoseUnreadBytes(*this, renameFile, QStringLiteral("名前を変更"), name))
        return;
    // The old file gives way to the new one, so its own name counts as free: renaming a file
    // to its name rewrites it in place.
    const auto taken = [&old](const QString &path) {
        return nameTaken(path) && !isSameFile(path, old);
    };
    const auto write = [&](const QString &path) {
        if (!isSameFile(path, old))
            return writeNewTextFile(path, text, read->codePage);
        replaceTextFile(path, text, read->codePage);
        return true;
    };
    QString target = state.FolderPath + numberedFileName(base, 0);
    const QString notRenamed = QStringLiteral("「%1」を「%2」に変更できませんでした。\n%3");
    try {
        writeUnderFirstFreeName(state.FolderPath, base, taken, write, target);
    } catch (const LinkRefused &refusal) {
        showCommandRefusal(renameFile, notRenamed.arg(name, fileNameOf(target), refusal.reason()));
        return;
    } catch (const PlatformError &error) {
        showCommandFailure(renameFile, notRenamed.arg(name, fileNameOf(target), error.reason()));
        return;
    }
    // The new file is whole before the old one goes; if the old one cannot go, the new one is
    // taken back so that the folder is as it was.
    if (!isSameFile(target, old) && !QFile::remove(old) && QFileInfo::exists(old)) {
        QFile::remove(target);
        showCommandFailure(
            renameFile,
            QStringLiteral("「%1」を削除できないため、名前を変更できませんでした。").arg(name));
        return;
    }
    CurrentFile = target;
    m_paneFile = target;
    flbText->refresh();
    lblST[0]->setText(QString());
}

void frmClip::cmdUwa_Click()
{
    mnuUwa_Click();
}

void frmClip::mnuUwa2_Click()
{
    mnuUwa_Click();
}

void frmClip::cmdName_Click()
{
    mnuName_Click();
}

void frmClip::mnuName2_Click()
{
    mnuName_Click();
}

void frmClip::cmdReName_Click()
{
    mnuRename_Click();
}

void frmClip::mnuRename2_Click()
{
    mnuRename_Click();
}
