#pragma once

#include "ui/platform/TrayIcon.h"

#include <QSystemTrayIcon>

class StatusNotifierItem;
class QTimer;

// The tray icon on the desktop: a StatusNotifierItem wherever a panel runs a watcher for one
// (KDE, GNOME with its AppIndicator extension, Xfce, LXQt, Wayland panels), else Qt's own icon
// (XEmbed on X11, the notification area on Windows). It follows the desktop while the program
// runs: a panel that appears later gets the icon, and availabilityChanged() reports a tray that
// came or went.
class QtTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject *parent = nullptr);
    ~QtTrayIcon() override;

    bool isAvailable() const override { return m_available; }
    void add(const QIcon &icon, const QString &tip, QMenu *menu) override;
    void remove() override;
    QPoint messagePosition() const override { return m_position; }

    // The mouse-message numbers that stand for one activation of the icon, in order.
    static QList<int> messagesFor(QSystemTrayIcon::ActivationReason reason);

private:
    // Puts the icon where the desktop shows it now and notes whether it does.
    void followDesktop();
    void setAvailable(bool available);
    void report(QSystemTrayIcon::ActivationReason reason, QPoint at);
    QSystemTrayIcon *embeddedIcon();

    StatusNotifierItem *m_item;
    QSystemTrayIcon *m_embedded = nullptr;
    QTimer *m_trayPoll;
    QTimer *m_grace;
    QIcon m_icon;
    QString m_tip;
    QPoint m_position;
    const bool m_x11;
    bool m_added = false;
    bool m_shownNow = false;
    // Added while the watcher was still being asked whether a panel shows the icon.
    bool m_settling = false;
    bool m_available = false;
};
