#include "ui/platform/QtDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace
{

QList<QMessageBox::StandardButton> buttonsOf(int style)
{
    switch (style & 7) {
    case MsgBoxStyle::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MsgBoxStyle::AbortRetryIgnore:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case MsgBoxStyle::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MsgBoxStyle::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MsgBoxStyle::RetryCancel:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void QtDialogs::configure(QMessageBox &box, int style)
{
    const auto buttons = buttonsOf(style);
    QMessageBox::StandardButtons set;
    for (auto b : buttons)
        set |= b;
    box.setStandardButtons(set);
    box.setIcon(iconOf(style));
    const int defaultIndex = (style & 0x300) / MsgBoxStyle::DefaultButton2;
    box.setDefaultButton(buttons.value(defaultIndex, buttons.first()));
}

int QtDialogs::resultOf(int standardButton)
{
    switch (standardButton) {
    case QMessageBox::Ok:
        return MsgBoxResult::Ok;
    case QMessageBox::Abort:
        return MsgBoxResult::Abort;
    case QMessageBox::Retry:
        return MsgBoxResult::Retry;
    case QMessageBox::Ignore:
        return MsgBoxResult::Ignore;
    case QMessageBox::Yes:
        return MsgBoxResult::Yes;
    case QMessageBox::No:
        return MsgBoxResult::No;
    default:
        return MsgBoxResult::Cancel;
    }
}

QWidget *QtDialogs::visibleOwner() const
{
    return m_owner && m_owner->isVisible() ? m_owner.data() : nullptr;
}

int QtDialogs::runMessageBox(const QString &text, int style, const QString &title)
{
    QWidget *owner = visibleOwner();
    QMessageBox box(owner);
    // A box with no window to stand over (a second start, a start-up failure) could open
    // behind another program's always-on-top window and never be seen.
    if (!owner)
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint);
    box.setWindowTitle(title);
    box.setText(text);
    configure(box, style);
    return resultOf(box.exec());
}

QString QtDialogs::runInputBox(const QString &prompt, const QString &title,
                               const QString &defaultAnswer)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(visibleOwner(), title, prompt, QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

void QtDialogs::runModal(QDialog &dialog)
{
    dialog.exec();
}
