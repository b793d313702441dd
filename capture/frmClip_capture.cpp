#include "capture/CaptureFile.h"
#include "capture/ClipboardLook.h"
#include "capture/FileNameRule.h"
#include "capture/NameFromText.h"
#include "capture/NameLengthBar.h"
#include "capture/TextCodec.h"
#include "ui/frmClip.h"
#include "ui/platform/Clipboard.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/LargestText.h"
#include "ui/platform/PlatformError.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/TextBox.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <limits>

namespace
{

// The numbering counter is a 16-bit integer: passing its largest value ends the tick.
void countOn(int &counter)
{
    if (counter == std::numeric_limits<qint16>::max())
        throw PlatformError(ErrorNumber::Overflow, QStringLiteral("numbering counter overflow"));
    ++counter;
}

} // namespace

void frmClip::wireCapture()
{
    connect(cmdStart, &QPushButton::clicked, this, &frmClip::cmdStart_Click);
    connect(mnuStart, &QAction::triggered, this, &frmClip::mnuStart_Click);
    connect(mnuStart2, &QAction::triggered, this, &frmClip::mnuStart2_Click);
    makeUpArrowIncrease(*vscNameLen);
    connect(vscNameLen, &QScrollBar::valueChanged, this, &frmClip::vscNameLen_Change);

    connect(Timer1, &QTimer::timeout, this, &frmClip::Timer1_Timer);
    m_clipboardLook = new ClipboardLook(platform.clipboard, this);
    // Polling alone misses a copy that another one follows within the interval: a reported
    // change runs the tick at once, as soon as the handler that is running has ended.
    connect(
        m_clipboardLook, &ClipboardLook::changed, this,
        [this] {
            if (Timer1->isActive())
                Timer1_Timer();
        },
        Qt::QueuedConnection);
    // A capture under an open box or menu would change the pane under the command being chosen
    // or answered: it waits, and runs once that handler has ended. A menu made later (the pane's
    // own) is left to the next tick.
    const auto runHeldCapture = [this] {
        if (m_captureHeld && Timer1->isActive())
            Timer1_Timer();
    };
    connect(&platform.dialogs, &Dialogs::closed, this, runHeldCapture, Qt::QueuedConnection);
    for (QMenu *menu : findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToHide, this, runHeldCapture, Qt::QueuedConnection);
}

void frmClip::Timer1_Timer()
{
    m_captureHeld =
        platform.dialogs.isOpen() || qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (m_captureHeld)
        return;
    int counter = 0;
    try {
        if (!m_clipboardLook->holdsText()) {
            warnOfTooLargeText();
            return;
        }
        if (m_clipboardLook->text() == LastClipText)
            return;
        LastClipText = QString();
        LastClipText = m_clipboardLook->text();
        txtText->setText(LastClipText);
        saveCapture(counter);
        flbText->refresh();
        LastClipText = m_clipboardLook->text();
    } catch (const std::exception &) {
        // Every failure ends the tick quietly: what was done stays done.
    }
}

void frmClip::saveCapture(int &counter)
{
    CurrentFile = QString();
    QString base = NameFromText(LastClipText, state.Settings[10]);
    CurrentFile = state.FolderPath + numberedFileName(base, 0);
    const QByteArray contents = textFileBytes(LastClipText, systemCodePage());
    bool fallback = false;
    while (true) {
        try {
            while (captureNameTaken(base)) {
                countOn(counter);
                CurrentFile = state.FolderPath + numberedFileName(base, counter);
            }
            if (writeNewFile(CurrentFile, contents))
                return;
            // Another program took the name since the test: number on.
            countOn(counter);
            CurrentFile = state.FolderPath + numberedFileName(base, counter);
        } catch (const PlatformError &error) {
            if (error.number() != ErrorNumber::FileNotFound || fallback)
                throw;
            fallback = true;
            base = QStringLiteral("NoName");
            CurrentFile = state.FolderPath + numberedFileName(base, 0);
        }
    }
}

bool frmClip::captureNameTaken(const QString &base) const
{
    // Such a name would leave the capture folder, or stop the folder moving to Windows.
    if (!isUsableBaseName(base))
        throw PlatformError(ErrorNumber::FileNotFound, QStringLiteral("unusable name: ") + base);
    return plainFileExists(CurrentFile);
}

void frmClip::cmdStart_Click()
{
    Reading = !Reading;
    ApplyReadingState(Reading);
    if (Reading)
        warnOfFocusOnlyClipboard();
}

void frmClip::warnOfFocusOnlyClipboard()
{
    // Where the desktop tells the program of copies only while its window is active, switching
    // reading on would otherwise pass for keeping everything.
    if (m_focusWarningShown || platform.clipboard.watchesWithoutFocus())
        return;
    m_focusWarningShown = true;
    platform.dialogs.messageBox(
        QStringLiteral("このデスクトップでは、Quillboxの画面がアクティブな間にコピーした"
                       "テキストだけを保存できます。"),
        MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation, QStringLiteral("Quillbox"));
}

void frmClip::warnOfTooLargeText()
{
    // Once is enough: the user learns that such texts are not kept, and further boxes would only
    // interrupt whatever the next large copy was for.
    if (m_tooLargeWarningShown || !m_clipboardLook->textTooLarge())
        return;
    m_tooLargeWarningShown = true;
    platform.dialogs.messageBox(
        QStringLiteral("コピーされたテキストは大きすぎるため保存できません。\n"
                       "保存できるのは %1 MB までのテキストです。")
            .arg(largestText >> 20),
        MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation, QStringLiteral("Quillbox"));
}

void frmClip::mnuStart_Click()
{
    cmdStart_Click();
}

void frmClip::mnuStart2_Click()
{
    cmdStart_Click();
}

void frmClip::ApplyReadingState(bool reading)
{
    const QString caption = reading ? QStringLiteral("読込み終了") : QStringLiteral("読込み開始");
    cmdStart->setIcon(picStart[reading ? 0 : 1]->pixmap());
    cmdStart->setToolTip(caption);
    mnuStart->setText(caption);
    mnuStart2->setText(caption);
    if (reading) {
        platform.clipboard.clear();
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

void frmClip::vscNameLen_Change()
{
    txtNameLen->setText(QString::number(vscNameLen->value()));
    state.Settings[10] = float(vscNameLen->value());
}
