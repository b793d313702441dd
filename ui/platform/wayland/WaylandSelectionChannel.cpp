// The channel's whole conversation with the compositor lives in this one file (connecting and
// connecting again, the data-control events, reading offers, serving copies), which makes it longer
// than the program's other files: every part creates or destroys the same few protocol objects, and
// the order in which that may happen is the protocol's, readable only where all of it is in view.
// The pipes' own work is PipeTransfer's.

#include "ui/platform/wayland/WaylandSelectionChannel.h"

#include "ui/platform/wayland/PipeTransfer.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"
#include <wayland-client.h>

// Both protocols number their requests and events alike, so one set of calls serves either, with
// the interfaces of the one the compositor offers.
struct DataControlInterfaces {
    const wl_interface *manager;
    const wl_interface *device;
    const wl_interface *source;
    const wl_interface *offer;
    std::uint32_t highestVersion;
};

namespace
{

enum ManagerRequest : std::uint32_t { CreateDataSource, GetDataDevice, DestroyManager };
enum DeviceRequest : std::uint32_t { SetSelection, DestroyDevice };
enum SourceRequest : std::uint32_t { OfferType, DestroySource };
enum OfferRequest : std::uint32_t { Receive, DestroyOffer };

static_assert(EXT_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE == GetDataDevice &&
              ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE == GetDataDevice &&
              EXT_DATA_CONTROL_MANAGER_V1_DESTROY == DestroyManager &&
              ZWLR_DATA_CONTROL_MANAGER_V1_DESTROY == DestroyManager);
static_assert(EXT_DATA_CONTROL_DEVICE_V1_SET_SELECTION == SetSelection &&
              ZWLR_DATA_CONTROL_DEVICE_V1_SET_SELECTION == SetSelection &&
              EXT_DATA_CONTROL_DEVICE_V1_DESTROY == DestroyDevice &&
              ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY == DestroyDevice);
static_assert(EXT_DATA_CONTROL_SOURCE_V1_OFFER == OfferType &&
              ZWLR_DATA_CONTROL_SOURCE_V1_OFFER == OfferType &&
              EXT_DATA_CONTROL_OFFER_V1_RECEIVE == Receive &&
              ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE == Receive);

const DataControlInterfaces *extDataControl()
{
    static const DataControlInterfaces interfaces{
        &ext_data_control_manager_v1_interface, &ext_data_control_device_v1_interface,
        &ext_data_control_source_v1_interface, &ext_data_control_offer_v1_interface, 1};
    return &interfaces;
}

const DataControlInterfaces *wlrDataControl()
{
    static const DataControlInterfaces interfaces{
        &zwlr_data_control_manager_v1_interface, &zwlr_data_control_device_v1_interface,
        &zwlr_data_control_source_v1_interface, &zwlr_data_control_offer_v1_interface, 2};
    return &interfaces;
}

std::uint32_t versionOf(wl_proxy *proxy)
{
    return wl_proxy_get_version(proxy);
}

void destroy(wl_proxy *proxy, std::uint32_t opcode)
{
    wl_proxy_marshal_flags(proxy, opcode, nullptr, versionOf(proxy), WL_MARSHAL_FLAG_DESTROY);
}

// A compositor that has gone is looked for a second later, then half as often each time it is
// not there, down to twice a minute: a connection attempt costs next to nothing, but a compositor
// that never comes back must not wake the program every second for ever.
constexpr int firstRetryMs = 1000;
constexpr int latestRetryMs = 30000;
// A compositor that takes longer to name its globals is starting, hung or stopped; the program
// does not wait for it, and asks again later.
constexpr int answerLimitMs = 2000;

// The types the program's own text is offered in; each carries UTF-8.
const char *const ownTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT"};

} // namespace

// The event handlers, laid out as the protocols order their events.
struct WaylandSelectionChannel::Callbacks {
    struct Device {
        void (*dataOffer)(void *, wl_proxy *, wl_proxy *);
        void (*selection)(void *, wl_proxy *, wl_proxy *);
        void (*finished)(void *, wl_proxy *);
        void (*primarySelection)(void *, wl_proxy *, wl_proxy *);
    };
    struct Offer {
        void (*offer)(void *, wl_proxy *, const char *);
    };
    struct Source {
        void (*send)(void *, wl_proxy *, const char *, std::int32_t);
        void (*cancelled)(void *, wl_proxy *);
    };
    static_assert(sizeof(Device) == sizeof(ext_data_control_device_v1_listener) &&
                  sizeof(Device) == sizeof(zwlr_data_control_device_v1_listener));
    static_assert(sizeof(Source) == sizeof(ext_data_control_source_v1_listener) &&
                  sizeof(Offer) == sizeof(ext_data_control_offer_v1_listener));

    static WaylandSelectionChannel &channel(void *data)
    {
        return *static_cast<WaylandSelectionChannel *>(data);
    }

    static constexpr Device device{
        [](void *data, wl_proxy *, wl_proxy *offer) { channel(data).takeNewOffer(offer); },
        [](void *data, wl_proxy *, wl_proxy *offer) { channel(data).takeSelection(offer); },
        [](void *data, wl_proxy *) {
            // The seat is gone: no more changes will come.
            WaylandSelectionChannel &self = channel(data);
            destroy(self.m_device, DestroyDevice);
            self.m_device = nullptr;
        },
        [](void *data, wl_proxy *, wl_proxy *offer) {
            // Only the clipboard matters; a primary selection's offer is dropped at once.
            WaylandSelectionChannel &self = channel(data);
            if (offer && offer != self.m_selection)
                self.dropOffer(offer);
        },
    };
    static constexpr Offer offer{
        [](void *data, wl_proxy *offer, const char *type) {
            auto found = channel(data).m_offers.find(offer);
            if (found != channel(data).m_offers.end() && found->size() < mostTypes)
                found->append(QString::fromUtf8(type));
        },
    };
    static constexpr Source source{
        [](void *data, wl_proxy *source, const char *, std::int32_t fd) {
            channel(data).sendSource(source, fd);
        },
        [](void *data, wl_proxy *source) { channel(data).dropSource(source); },
    };
    static constexpr wl_registry_listener registry{
        [](void *data, wl_registry *, std::uint32_t name, const char *interface,
           std::uint32_t version) {
            Globals &globals = channel(data).m_globals;
            const QByteArrayView offered(interface);
            if (offered == "wl_seat" && !globals.seat)
                globals.seat = name;
            else if (offered == "ext_data_control_manager_v1")
                globals.ext = name;
            else if (offered == "zwlr_data_control_manager_v1") {
                globals.wlr = name;
                globals.wlrVersion = version;
            }
        },
        [](void *, wl_registry *, std::uint32_t) {},
    };
    // The compositor answers requests in order: this answer follows the last global.
    static constexpr wl_callback_listener globalsListed{
        [](void *data, wl_callback *callback, std::uint32_t) {
            wl_callback_destroy(callback);
            channel(data).m_globalsListed = nullptr;
        },
    };

    template <typename Listener>
    static void listen(wl_proxy *proxy, const Listener &listener, WaylandSelectionChannel *channel)
    {
        wl_proxy_add_listener(
            proxy, reinterpret_cast<void (**)(void)>(const_cast<Listener *>(&listener)), channel);
    }
};

WaylandSelectionChannel::WaylandSelectionChannel(QObject *parent)
    : SelectionChannel(parent), m_reconnect(new QTimer(this)), m_answerLimit(new QTimer(this)),
      m_retryMs(firstRetryMs)
{
    // Writing to a pipe whose reader has gone must fail, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    m_reconnect->setSingleShot(true);
    connect(m_reconnect, &QTimer::timeout, this, &WaylandSelectionChannel::reconnect);
    m_answerLimit->setSingleShot(true);
    m_answerLimit->setInterval(answerLimitMs);
    connect(m_answerLimit, &QTimer::timeout, this, [this] {
        release();
        retryLater();
    });
    // At start-up the answer is waited for: whether data control is there decides how the
    // clipboard is watched, and the program waits for the compositor then anyway (Qt's own
    // connection, the choice of the route).
    if (!startConnecting())
        return;
    if (wl_display_roundtrip(m_display) < 0 || m_globalsListed)
        release();
    else
        finishConnecting();
}

bool WaylandSelectionChannel::startConnecting()
{
    m_display = wl_display_connect(nullptr);
    if (!m_display)
        return false;
    m_connecting = true;
    m_globals = Globals();
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &Callbacks::registry, this);
    m_globalsListed = wl_display_sync(m_display);
    wl_callback_add_listener(m_globalsListed, &Callbacks::globalsListed, this);
    m_notifier = new QSocketNotifier(wl_display_get_fd(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WaylandSelectionChannel::dispatch);
    flush();
    m_answerLimit->start();
    return true;
}

void WaylandSelectionChannel::finishConnecting()
{
    m_connecting = false;
    m_answerLimit->stop();
    if (!bind()) {
        // Nothing to watch through: the connection is of no use, and a compositor without data
        // control will not offer it later either.
        release();
        return;
    }
    m_retryMs = firstRetryMs;
    flush();
    QTimer::singleShot(0, this, &WaylandSelectionChannel::dispatch);
}

bool WaylandSelectionChannel::bind()
{
    if (!m_globals.seat || (!m_globals.ext && !m_globals.wlr))
        return false;
    // The newer protocol where both are offered.
    m_interfaces = m_globals.ext ? extDataControl() : wlrDataControl();
    const std::uint32_t managerName = m_globals.ext ? m_globals.ext : m_globals.wlr;
    const std::uint32_t version =
        m_globals.ext ? 1 : std::min(m_globals.wlrVersion, m_interfaces->highestVersion);
    m_seat = static_cast<wl_proxy *>(
        wl_registry_bind(m_registry, m_globals.seat, &wl_seat_interface, 1));
    m_manager = static_cast<wl_proxy *>(
        wl_registry_bind(m_registry, managerName, m_interfaces->manager, version));
    m_device = wl_proxy_marshal_flags(m_manager, GetDataDevice, m_interfaces->device,
                                      versionOf(m_manager), 0, nullptr, m_seat);
    Callbacks::listen(m_device, Callbacks::device, this);
    return true;
}

void WaylandSelectionChannel::retryLater()
{
    m_reconnect->start(m_retryMs);
    m_retryMs = std::min(2 * m_retryMs, latestRetryMs);
}

void WaylandSelectionChannel::reconnect()
{
    if (!startConnecting())
        retryLater();
}

WaylandSelectionChannel::~WaylandSelectionChannel()
{
    abandon();
    if (m_display)
        release();
}

void WaylandSelectionChannel::release()
{
    // Over a connection that has broken no request goes out: the proxies are only freed.
    const bool connected = wl_display_get_error(m_display) == 0;
    const auto drop = [connected](wl_proxy *proxy, std::uint32_t destructor) {
        if (connected)
            destroy(proxy, destructor);
        else
            wl_proxy_destroy(proxy);
    };
    for (auto source = m_sources.cbegin(); source != m_sources.cend(); ++source)
        drop(source.key(), DestroySource);
    m_sources.clear();
    for (auto offer = m_offers.cbegin(); offer != m_offers.cend(); ++offer)
        drop(offer.key(), DestroyOffer);
    m_offers.clear();
    m_selection = nullptr;
    if (m_device)
        drop(m_device, DestroyDevice);
    if (m_manager)
        drop(m_manager, DestroyManager);
    // Version 1 of the seat has no request that releases it.
    if (m_seat)
        wl_proxy_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_globalsListed)
        wl_callback_destroy(m_globalsListed);
    m_device = m_manager = m_seat = nullptr;
    m_registry = nullptr;
    m_globalsListed = nullptr;
    m_connecting = false;
    m_answerLimit->stop();
    if (m_notifier) {
        // The notifier may be the one whose signal runs now.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (connected)
        wl_display_flush(m_display);
    wl_display_disconnect(m_display);
    m_display = nullptr;
}

QByteArray WaylandSelectionChannel::protocolName() const
{
    return m_interfaces ? QByteArray(m_interfaces->manager->name) : QByteArray();
}

void WaylandSelectionChannel::dispatch()
{
    if (!m_display)
        return;
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            connectionLost();
            return;
        }
    }
    if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0) {
        connectionLost();
        return;
    }
    if (m_connecting && !m_globalsListed) {
        finishConnecting();
        return;
    }
    flush();
}

void WaylandSelectionChannel::flush()
{
    wl_display_flush(m_display);
}

void WaylandSelectionChannel::connectionLost()
{
    const bool wasConnected = !m_connecting;
    abandon();
    release();
    if (wasConnected) {
        // The clipboard's offer went with the compositor; the watcher then finds it empty.
        Q_EMIT selectionChanged();
        Q_EMIT lost();
    }
    retryLater();
}

void WaylandSelectionChannel::takeNewOffer(wl_proxy *offer)
{
    m_offers.insert(offer, {});
    Callbacks::listen(offer, Callbacks::offer, this);
}

void WaylandSelectionChannel::takeSelection(wl_proxy *offer)
{
    if (m_selection && m_selection != offer)
        dropOffer(m_selection);
    m_selection = offer;
    Q_EMIT selectionChanged();
}

void WaylandSelectionChannel::dropOffer(wl_proxy *offer)
{
    m_offers.remove(offer);
    destroy(offer, DestroyOffer);
    if (offer == m_selection)
        m_selection = nullptr;
}

void WaylandSelectionChannel::reportLater(std::function<void()> report)
{
    const int serial = ++m_serial;
    QTimer::singleShot(0, this, [this, serial, report = std::move(report)] {
        if (serial == m_serial)
            report();
    });
}

void WaylandSelectionChannel::requestTypes()
{
    abandon();
    const QStringList types = m_selection ? m_offers.value(m_selection) : QStringList();
    reportLater([this, types] { Q_EMIT typesOffered(types); });
}

void WaylandSelectionChannel::requestData(const QString &type)
{
    abandon();
    int ends[2];
    if (!m_device || !m_selection || pipe2(ends, O_CLOEXEC) != 0) {
        reportLater([this] { Q_EMIT transferFailed(); });
        return;
    }
    wl_proxy_marshal_flags(m_selection, Receive, nullptr, versionOf(m_selection), 0,
                           type.toUtf8().constData(), ends[1]);
    // The request carried a duplicate of the writing end: the owner holds the only one now, so
    // the pipe ends when the owner has written all.
    ::close(ends[1]);
    flush();
    m_reader = new PipeReader(ends[0], this);
    connect(m_reader, &PipeReader::dataArrived, this, [this](const QByteArray &piece) {
        awaitProgress();
        Q_EMIT dataArrived(piece);
    });
    connect(m_reader, &PipeReader::ended, this, [this] {
        abandon();
        Q_EMIT dataEnded();
    });
    connect(m_reader, &PipeReader::failed, this, [this] {
        abandon();
        Q_EMIT transferFailed();
    });
    awaitProgress();
}

void WaylandSelectionChannel::abandon()
{
    stopAwaiting();
    ++m_serial;
    if (m_reader) {
        m_reader->disconnect(this);
        m_reader->deleteLater();
        m_reader = nullptr;
    }
}

void WaylandSelectionChannel::dropStalledRequest()
{
    abandon();
}

void WaylandSelectionChannel::setText(const QString &text)
{
    if (!m_device)
        return;
    wl_proxy *source = wl_proxy_marshal_flags(m_manager, CreateDataSource, m_interfaces->source,
                                              versionOf(m_manager), 0, nullptr);
    Callbacks::listen(source, Callbacks::source, this);
    for (const char *type : ownTypes)
        wl_proxy_marshal_flags(source, OfferType, nullptr, versionOf(source), 0, type);
    m_sources.insert(source, text.toUtf8());
    wl_proxy_marshal_flags(m_device, SetSelection, nullptr, versionOf(m_device), 0, source);
    flush();
}

void WaylandSelectionChannel::clear()
{
    if (!m_device)
        return;
    wl_proxy_marshal_flags(m_device, SetSelection, nullptr, versionOf(m_device), 0, nullptr);
    flush();
}

void WaylandSelectionChannel::sendSource(wl_proxy *source, int fd)
{
    const auto found = m_sources.constFind(source);
    if (found == m_sources.constEnd()) {
        ::close(fd);
        return;
    }
    new PipeWriter(fd, *found, this);
}

void WaylandSelectionChannel::dropSource(wl_proxy *source)
{
    m_sources.remove(source);
    destroy(source, DestroySource);
    flush();
}
