#pragma once

#include "ui/TrayIcon.h"

#include <QSystemTrayIcon>

class QtTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject *parent = nullptr);

    bool isAvailable() const override;
    void add(const QIcon &icon, const QString &tip) override;
    void remove() override;

    // The mouse-message numbers that stand for one activation of the icon, in order.
    static QList<int> messagesFor(QSystemTrayIcon::ActivationReason reason);

private:
    QSystemTrayIcon *m_icon;
};
