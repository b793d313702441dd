#include "ui/Clipboard.h"
#include "ui/frmClip.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

void frmClip::wireCapture()
{
    connect(cmdStart, &QPushButton::clicked, this, &frmClip::cmdStart_Click);
    connect(mnuStart, &QAction::triggered, this, &frmClip::mnuStart_Click);
    connect(mnuStart2, &QAction::triggered, this, &frmClip::mnuStart2_Click);
    connect(vscNameLen, &QScrollBar::valueChanged, this, &frmClip::vscNameLen_Change);
}

void frmClip::cmdStart_Click()
{
    Reading = !Reading;
    ApplyReadingState(Reading);
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
