#pragma once

#include "ui/platform/TrayIcon.h"

class QSystemTrayIcon;

// The icon in the notification area of the task bar, through Qt (Shell_NotifyIcon). Explorer's
// notification area is always there, and Qt adds the icon again when Explorer restarts.
class NotificationAreaIcon : public TrayIcon
{
    Q_OBJECT
public:
    explicit NotificationAreaIcon(QObject *parent = nullptr);

    bool isAvailable() const override;
    // The menu is opened by the main window's reaction to the right button, as everywhere.
    void add(const QIcon &icon, const QString &tip, QMenu *menu) override;
    void remove() override;
    QPoint messagePosition() const override { return m_position; }

private:
    QSystemTrayIcon *m_icon;
    QPoint m_position;
};
