#pragma once

#include "ui/platform/freedesktop/DBusTrayTypes.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QIcon>
#include <QObject>
#include <QPoint>

class DBusMenuExporter;
class QDBusServiceWatcher;
class QMenu;

// The tray icon as a StatusNotifierItem on the session bus, the tray of KDE, of GNOME with the
// AppIndicator extension, of Xfce and LXQt panels and of Wayland panels. It follows the
// StatusNotifierWatcher: whenever one appears on the bus, also long after the program started (a
// panel that starts later at login, or restarts), the item registers with it.
class StatusNotifierItem : public QObject
{
    Q_OBJECT
public:
    explicit StatusNotifierItem(const QString &id, QObject *parent = nullptr);
    ~StatusNotifierItem() override;

    // A watcher that has just appeared answers at once; one that has not answered a question by
    // then hangs. Registering and asking whether a panel serves the watcher are two questions.
    static constexpr int answerLimitMs = 2000;

    // Icon, tool tip and the menu that panels drawing the item's menu themselves show.
    void setContents(const QIcon &icon, const QString &toolTip, QMenu *menu);
    // Puts the item on the bus and registers it with the watcher, now and whenever one appears.
    void show();
    void hide();

    bool watcherPresent() const { return m_watcherPresent; }
    // A watcher that a panel (a host) serves holds the item: the user sees it.
    bool isShown() const { return m_shown; }
    // The item has asked the watcher and awaits its answer, after which isShown() is settled.
    bool isAsking() const { return m_watcherPresent && m_onBus && (m_registering || m_asking); }

    // What the item offers on the bus.
    QString id() const { return m_id; }
    QIcon icon() const { return m_icon; }
    QString toolTip() const { return m_toolTip; }
    bool hasMenu() const { return m_menu != nullptr; }
    QString serviceName() const { return m_serviceName; }

Q_SIGNALS:
    // A panel's click, at the point it gives (screen coordinates of the panel).
    void activated(QPoint at);
    void contextMenuRequested(QPoint at);
    void shownChanged(bool shown);
    void watcherChanged();
    // The watcher has answered all the item asked, or failed to in time.
    void answered();

private Q_SLOTS:
    void updateHostState();

private:
    // The watcher is asked without waiting for it: a panel that is slow or hangs must not hold
    // the window. What comes while a question is open is asked once more when it is answered.
    void registerWithWatcher();
    void takeRegistration(bool registered);
    void takeHostState(bool hostRegistered);
    void setShown(bool shown);

    QString m_id;
    QDBusConnection m_bus;
    QString m_serviceName;
    QDBusServiceWatcher *m_watcher;
    QIcon m_icon;
    QString m_toolTip;
    DBusMenuExporter *m_menu = nullptr;
    bool m_watcherPresent = false;
    bool m_onBus = false;
    bool m_registered = false;
    bool m_shown = false;
    bool m_registering = false;
    bool m_registerAgain = false;
    bool m_asking = false;
    bool m_askAgain = false;
};

class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ id)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ noName)
    Q_PROPERTY(SniPixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ noName)
    Q_PROPERTY(SniPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ noName)
    Q_PROPERTY(SniPixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ noName)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem *item);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return m_item->id(); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString noName() const { return {}; }
    SniPixmaps iconPixmap() const { return sniPixmaps(m_item->icon()); }
    SniPixmaps noPixmaps() const { return {}; }
    SniToolTip toolTip() const;
    // A click means "show the window", not "open the menu": panels send Activate for it.
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const;

public Q_SLOTS:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    // The program has no reaction to a middle click or to the wheel over its icon.
    void Scroll(int delta, const QString &orientation);

private:
    StatusNotifierItem *m_item;
};
