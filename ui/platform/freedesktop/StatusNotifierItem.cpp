#include "ui/platform/freedesktop/StatusNotifierItem.h"

#include "ui/platform/freedesktop/DBusMenuExporter.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

namespace
{

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString watcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString menuPath = QStringLiteral("/StatusNotifierMenu");

QString nextServiceName()
{
    static int count = 0;
    return QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++count);
}

} // namespace

StatusNotifierItem::StatusNotifierItem(const QString &id, QObject *parent)
    : QObject(parent), m_id(id), m_bus(QDBusConnection::connectToBus(
                                     QDBusConnection::SessionBus, QStringLiteral("quillbox-tray"))),
      m_serviceName(nextServiceName()),
      m_watcher(new QDBusServiceWatcher(watcherService, m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this))
{
    registerDBusTrayTypes();
    new StatusNotifierItemAdaptor(this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                m_watcherPresent = !newOwner.isEmpty();
                m_registered = false;
                if (m_watcherPresent)
                    registerWithWatcher();
                else
                    setShown(false);
                Q_EMIT watcherChanged();
            });
    m_bus.connect(watcherService, watcherPath, watcherInterface,
                  QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(updateHostState()));
    m_bus.connect(watcherService, watcherPath, watcherInterface,
                  QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(updateHostState()));
    m_watcherPresent =
        m_bus.isConnected() && m_bus.interface()->isServiceRegistered(watcherService);
}

StatusNotifierItem::~StatusNotifierItem()
{
    hide();
}

void StatusNotifierItem::setContents(const QIcon &icon, const QString &toolTip, QMenu *menu)
{
    m_icon = icon;
    m_toolTip = toolTip;
    if (m_onBus)
        m_bus.unregisterObject(menuPath);
    delete m_menu;
    m_menu = nullptr;
    if (menu) {
        m_menu = new DBusMenuExporter(menu, this);
        new DBusMenuAdaptor(m_menu);
        if (m_onBus)
            m_bus.registerObject(menuPath, m_menu, QDBusConnection::ExportAdaptors);
    }
}

void StatusNotifierItem::show()
{
    if (!m_bus.isConnected())
        return;
    if (!m_onBus) {
        m_bus.registerObject(itemPath, this, QDBusConnection::ExportAdaptors);
        if (m_menu)
            m_bus.registerObject(menuPath, m_menu, QDBusConnection::ExportAdaptors);
        m_bus.registerService(m_serviceName);
        m_onBus = true;
    }
    if (m_watcherPresent)
        registerWithWatcher();
}

void StatusNotifierItem::hide()
{
    if (!m_onBus)
        return;
    // The watcher drops an item whose name leaves the bus.
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(menuPath);
    m_bus.unregisterObject(itemPath);
    m_onBus = false;
    m_registered = false;
    setShown(false);
}

void StatusNotifierItem::registerWithWatcher()
{
    if (!m_onBus)
        return;
    m_registered = false;
    if (m_registering) {
        m_registerAgain = true;
        return;
    }
    m_registering = true;
    QDBusMessage call =
        QDBusMessage::createMethodCall(watcherService, watcherPath, watcherInterface,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call, answerLimitMs), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, reply] {
        reply->deleteLater();
        takeRegistration(!reply->isError());
    });
}

void StatusNotifierItem::takeRegistration(bool registered)
{
    m_registering = false;
    if (std::exchange(m_registerAgain, false)) {
        // The answer is of a watcher that has gone since, or that was asked before it went.
        registerWithWatcher();
        return;
    }
    if (!m_watcherPresent || !m_onBus)
        return;
    m_registered = registered;
    updateHostState();
}

void StatusNotifierItem::updateHostState()
{
    if (!m_registered) {
        setShown(false);
        if (!isAsking())
            Q_EMIT answered();
        return;
    }
    if (m_asking) {
        m_askAgain = true;
        return;
    }
    m_asking = true;
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << watcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(get, answerLimitMs), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, reply] {
        reply->deleteLater();
        const QDBusMessage answer = reply->reply();
        takeHostState(
            answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty() &&
            qvariant_cast<QDBusVariant>(answer.arguments().constFirst()).variant().toBool());
    });
}

void StatusNotifierItem::takeHostState(bool hostRegistered)
{
    m_asking = false;
    if (std::exchange(m_askAgain, false)) {
        updateHostState();
        return;
    }
    setShown(m_registered && hostRegistered);
    if (!isAsking())
        Q_EMIT answered();
}

void StatusNotifierItem::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    Q_EMIT shownChanged(shown);
}

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem *item)
    : QDBusAbstractAdaptor(item), m_item(item)
{
}

SniToolTip StatusNotifierItemAdaptor::toolTip() const
{
    return SniToolTip{{}, {}, m_item->toolTip(), {}};
}

QDBusObjectPath StatusNotifierItemAdaptor::menu() const
{
    return QDBusObjectPath(m_item->hasMenu() ? menuPath : QStringLiteral("/"));
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    Q_EMIT m_item->activated(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int, int) {}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y)
{
    Q_EMIT m_item->contextMenuRequested(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int, const QString &) {}
