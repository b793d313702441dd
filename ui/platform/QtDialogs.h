#pragma once

#include "ui/platform/Dialogs.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

class QtDialogs : public Dialogs
{
public:
    // Boxes are centred over the owner while it is shown, so they cannot open behind it.
    void setOwner(QWidget *owner) { m_owner = owner; }

    // Builds the box that messageBox() runs; separate so that its buttons can be checked.
    static void configure(QMessageBox &box, int style);
    static int resultOf(int standardButton);

protected:
    int runMessageBox(const QString &text, int style, const QString &title) override;
    QString runInputBox(const QString &prompt, const QString &title,
                        const QString &defaultAnswer) override;
    void runModal(QDialog &dialog) override;

private:
    QWidget *visibleOwner() const;

    QPointer<QWidget> m_owner;
};
