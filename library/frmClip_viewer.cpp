#include "capture/TextLines.h"
#include "capture/WholeCharacters.h"
#include "library/LoadProgress.h"
#include "library/TextFileLoader.h"
#include "ui/frmClip.h"
#include "ui/platform/Dialogs.h"
#include "ui/platform/PlatformError.h"
#include "ui/widgets/FileList.h"
#include "ui/widgets/ImageArea.h"
#include "ui/widgets/TextBox.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <cmath>

namespace
{

constexpr int leftButton = 1;
constexpr int rightButton = 2;

// Tells the user why a pressed file is not shown; the pane keeps what it showed.
void warnNotShown(frmClip &window, const QString &text)
{
    window.SetTopmost(0);
    window.platform.dialogs.messageBox(text, MsgBoxStyle::OkOnly + MsgBoxStyle::Exclamation,
                                       QStringLiteral("警告"));
    window.SetTopmost(window.state.Settings[7]);
}

QString tooLargeToShow(const QString &name)
{
    return QStringLiteral("「%1」は大きすぎるため表示できません。\n"
                          "表示できるのは %2 MB までのファイルです。")
        .arg(name)
        .arg(largestText >> 20);
}

QString notAFileToShow(const QString &name)
{
    return QStringLiteral("「%1」は表示できません。\n"
                          "ファイルではなく、デバイスや名前付きパイプなどを指しています。")
        .arg(name);
}

} // namespace

void frmClip::wireViewer()
{
    connect(flbText, &FileList::mouseDown, this, &frmClip::flbText_MouseDown);
    connect(txtText, &TextBox::changed, this, &frmClip::txtText_Change);
    connect(txtText, &TextBox::textSet, this, [this] { m_paneFile.clear(); });
}

void frmClip::flbText_MouseDown(int Button)
{
    const QString name = flbText->fileName();
    if (name.isEmpty())
        return;
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0)
        return;
    lblST[0]->setText(name.left(dot));
    if (Button == rightButton) {
        pop->popup(QCursor::pos());
        return;
    }
    if (Button != leftButton)
        return;

    // Any value but 0 shows the bar, as the layout shows its frame for any value but 0.
    const bool showProgress = state.Settings[9] != 0;
    std::function<void(qint64, qint64)> progress;
    if (showProgress) {
        lblSts->setGeometry(imgSt->x() + 2, imgSt->y() + 2, 1, lblSts->height());
        const int fullWidth = imgSt->width() - 5;
        progress = [this, fullWidth](qint64 read, qint64 length) {
            const qint64 blocks = LoadProgress::blockCount(length);
            if (blocks == 0)
                return;
            lblSts->resize(LoadProgress::barWidth(read, blocks, fullWidth), lblSts->height());
            // The load holds the event loop, so the bar is painted now or not at all.
            lblSts->repaint();
        };
    }
    CurrentFile = state.FolderPath + name;
    lblSts->setVisible(showProgress);
    flbText->setCursor(Qt::WaitCursor);
    try {
        const QString text = readTextFile(readFileBytes(CurrentFile, progress), systemCodePage());
        flbText->unsetCursor();
        // The pane raises no change for the text it already shows, yet the path caption is to
        // follow the pressed file.
        const bool sameText = txtText->text() == text;
        txtText->setText(text);
        m_paneFile = CurrentFile;
        if (sameText)
            txtText_Change();
    } catch (const PlatformError &) {
        // A file gone or locked since the list was read: the pane keeps what it showed.
        flbText->unsetCursor();
    } catch (const FileNotRead &notRead) {
        flbText->unsetCursor();
        lblSts->hide();
        warnNotShown(*this, notRead.why == FileNotRead::Why::TooLarge ? tooLargeToShow(name)
                                                                      : notAFileToShow(name));
        return;
    } catch (const std::bad_alloc &) {
        flbText->unsetCursor();
        lblSts->hide();
        warnNotShown(*this,
                     QStringLiteral("メモリーが足りないため、「%1」を表示できません。").arg(name));
        return;
    }
    lblSts->hide();
}

void frmClip::txtText_Change()
{
    if (txtText->isEmpty()) {
        lblST[1]->setText(QString());
        return;
    }
    const auto length = qsizetype(std::nearbyint((lblST[1]->width() - 4) / 6.0));
    const QString path = state.FolderPath + flbText->fileName();
    lblST[1]->setText(leftWholeCharacters(path, length));
}
