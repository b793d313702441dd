#include "ui/platform/freedesktop/QtTrayIcon.h"

#include "ui/platform/TrayActivations.h"
#include "ui/platform/freedesktop/StatusNotifierItem.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace
{

// An X11 tray can come and go without a signal of Qt's public interface: whether one is there
// is looked at this often.
constexpr int trayPollMs = 2000;
// A panel that restarts is back within this time; only a tray gone for longer counts as gone.
constexpr int graceMs = 3000;
// At start-up the watcher may take its time limit for each of the item's two questions; only one
// that keeps the item asking for longer is not waited for.
constexpr int settleMs = 2 * StatusNotifierItem::answerLimitMs + 1000;

// A panel gives points in the screen's device pixels; Qt places windows in logical ones, which
// differ where the screen is scaled.
QPoint fromPanelPixels(QPoint at)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        const QRect device(logical.topLeft(), logical.size() * ratio);
        if (device.contains(at))
            return logical.topLeft() + (at - logical.topLeft()) / ratio;
    }
    return at;
}

} // namespace

QtTrayIcon::QtTrayIcon(QObject *parent)
    : TrayIcon(parent), m_item(new StatusNotifierItem(QStringLiteral("Quillbox"), this)),
      m_trayPoll(new QTimer(this)), m_grace(new QTimer(this)),
      m_x11(QGuiApplication::platformName() == QStringLiteral("xcb"))
{
    connect(m_item, &StatusNotifierItem::activated, this,
            [this](QPoint at) { report(QSystemTrayIcon::Trigger, fromPanelPixels(at)); });
    connect(m_item, &StatusNotifierItem::contextMenuRequested, this,
            [this](QPoint at) { report(QSystemTrayIcon::Context, fromPanelPixels(at)); });
    connect(m_item, &StatusNotifierItem::shownChanged, this, &QtTrayIcon::followDesktop);
    connect(m_item, &StatusNotifierItem::watcherChanged, this, &QtTrayIcon::followDesktop);
    connect(m_item, &StatusNotifierItem::answered, this, [this] {
        // The first answer after start-up is the desktop's state as it is: no grace.
        if (std::exchange(m_settling, false) && !m_item->isShown()) {
            m_grace->stop();
            m_shownNow = false;
            setAvailable(false);
            return;
        }
        followDesktop();
    });
    m_trayPoll->setInterval(trayPollMs);
    connect(m_trayPoll, &QTimer::timeout, this, &QtTrayIcon::followDesktop);
    m_grace->setSingleShot(true);
    connect(m_grace, &QTimer::timeout, this, [this] {
        if (!m_shownNow)
            setAvailable(false);
    });
}

QtTrayIcon::~QtTrayIcon() = default;

QList<int> QtTrayIcon::messagesFor(QSystemTrayIcon::ActivationReason reason)
{
    return trayMessagesFor(reason);
}

void QtTrayIcon::report(QSystemTrayIcon::ActivationReason reason, QPoint at)
{
    m_position = at;
    for (int message : messagesFor(reason))
        Q_EMIT mouseMessage(message);
}

void QtTrayIcon::add(const QIcon &icon, const QString &tip, QMenu *menu)
{
    m_icon = icon;
    m_tip = tip;
    m_item->setContents(icon, tip, menu);
    m_item->show();
    m_added = true;
    followDesktop();
    // The state at start-up is the desktop's as it is: no grace, no report. While the watcher is
    // asked, its panel is taken to be there, so that the window stays hidden; the answer, or
    // the grace for a watcher that keeps the item asking, settles it.
    m_grace->stop();
    m_settling = m_item->isAsking();
    m_available = m_shownNow || m_settling;
    if (m_settling)
        m_grace->start(settleMs);
    if (m_x11)
        m_trayPoll->start();
}

void QtTrayIcon::remove()
{
    m_added = false;
    m_settling = false;
    m_trayPoll->stop();
    m_grace->stop();
    m_item->hide();
    if (m_embedded)
        m_embedded->hide();
    m_shownNow = false;
    m_available = false;
}

QSystemTrayIcon *QtTrayIcon::embeddedIcon()
{
    // Created only while no watcher runs: Qt decides once, when its first icon is made, whether
    // its icons go to a watcher, and they must not, for the item above is the one there.
    if (!m_embedded) {
        m_embedded = new QSystemTrayIcon(m_icon, this);
        m_embedded->setToolTip(m_tip);
        connect(
            m_embedded, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { report(reason, QCursor::pos()); });
    }
    return m_embedded;
}

void QtTrayIcon::followDesktop()
{
    if (!m_added)
        return;
    if (m_item->watcherPresent()) {
        // The panel that runs the watcher shows the item; an icon of Qt's beside it would be a
        // second one.
        if (m_embedded)
            m_embedded->hide();
        m_shownNow = m_item->isShown();
    } else {
        // On X11 Qt docks its icon into a tray that comes later too; elsewhere it has one where
        // the desktop has a tray at all (Windows), and none on Wayland.
        QSystemTrayIcon *embedded = embeddedIcon();
        m_shownNow = QSystemTrayIcon::isSystemTrayAvailable();
        if (m_shownNow || m_x11)
            embedded->show();
    }
    if (m_shownNow) {
        m_grace->stop();
        setAvailable(true);
    } else if (m_available && !m_grace->isActive()) {
        m_grace->start(graceMs);
    }
}

void QtTrayIcon::setAvailable(bool available)
{
    if (available == m_available)
        return;
    m_available = available;
    Q_EMIT availabilityChanged(available);
}
