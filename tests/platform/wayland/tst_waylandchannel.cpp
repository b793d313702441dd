#include "ui/platform/wayland/WaylandSelectionChannel.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "ext-data-control-v1-server-protocol.h"
#include <wayland-server.h>

namespace
{

const char *const socketName = "quillbox-test-0";

// A compositor of the test's own, served on a thread of its own: a seat and data control, and a
// clipboard that holds an offer in the types given, if any. It goes away with its object, and
// with it every connection to it.
class FakeCompositor
{
public:
    explicit FakeCompositor(QStringList types = {}) : m_types(std::move(types))
    {
        m_display = wl_display_create();
        if (wl_display_add_socket(m_display, socketName) != 0)
            qFatal("the test's compositor found its socket taken");
        wl_global_create(m_display, &wl_seat_interface, 1, this, &FakeCompositor::bindSeat);
        wl_global_create(m_display, &ext_data_control_manager_v1_interface, 1, this,
                         &FakeCompositor::bindManager);
        m_thread = std::thread([this] { wl_display_run(m_display); });
    }
    ~FakeCompositor()
    {
        wl_display_terminate(m_display);
        m_thread.join();
        wl_display_destroy_clients(m_display);
        wl_display_destroy(m_display);
    }

private:
    static void bindSeat(wl_client *client, void *data, std::uint32_t version, std::uint32_t id)
    {
        static_cast<FakeCompositor *>(data)->create(client, &wl_seat_interface, version, id);
    }
    static void bindManager(wl_client *client, void *data, std::uint32_t version, std::uint32_t id)
    {
        static_cast<FakeCompositor *>(data)->create(client, &ext_data_control_manager_v1_interface,
                                                    version, id);
    }

    // Every request is taken as it comes: the objects it makes are made, descriptors it brings
    // are closed, and a destructor destroys.
    static int dispatch(const void *, void *target, std::uint32_t, const wl_message *message,
                        wl_argument *arguments)
    {
        auto *resource = static_cast<wl_resource *>(target);
        auto *self = static_cast<FakeCompositor *>(wl_resource_get_user_data(resource));
        int index = 0;
        for (const char *type = message->signature; *type; ++type) {
            if ((*type >= '0' && *type <= '9') || *type == '?')
                continue;
            if (*type == 'n')
                self->create(wl_resource_get_client(resource), message->types[index],
                             wl_resource_get_version(resource), arguments[index].n);
            else if (*type == 'h')
                ::close(arguments[index].h);
            ++index;
        }
        if (qstrcmp(message->name, "destroy") == 0)
            wl_resource_destroy(resource);
        return 0;
    }

    wl_resource *create(wl_client *client, const wl_interface *interface, std::uint32_t version,
                        std::uint32_t id)
    {
        wl_resource *resource = wl_resource_create(client, interface, int(version), id);
        wl_resource_set_dispatcher(resource, &FakeCompositor::dispatch, nullptr, this, nullptr);
        if (interface == &ext_data_control_device_v1_interface && !m_types.isEmpty())
            offer(resource);
        return resource;
    }

    void offer(wl_resource *device)
    {
        wl_resource *offer =
            create(wl_resource_get_client(device), &ext_data_control_offer_v1_interface, 1, 0);
        ext_data_control_device_v1_send_data_offer(device, offer);
        for (const QString &type : std::as_const(m_types))
            ext_data_control_offer_v1_send_offer(offer, type.toUtf8().constData());
        ext_data_control_device_v1_send_selection(device, offer);
    }

    const QStringList m_types;
    wl_display *m_display;
    std::thread m_thread;
};

// A compositor that takes connections on the same socket and never answers, as one that is
// starting, hung or stopped: it lets each connection go after the time given (at once for 0),
// and notes when each came and how long it was held before the program hung up.
class SilentCompositor
{
public:
    explicit SilentCompositor(int holdMs) : m_holdMs(holdMs)
    {
        m_clock.start();
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = qgetenv("XDG_RUNTIME_DIR") + '/' + socketName;
        qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
            ::listen(m_listener, 16) != 0)
            qFatal("the silent compositor could not listen on the socket");
        m_path = path;
        if (::pipe2(m_stop, O_CLOEXEC) != 0)
            qFatal("no pipe for the silent compositor");
        m_thread = std::thread([this] { serve(); });
    }
    ~SilentCompositor()
    {
        ::close(m_stop[1]);
        m_thread.join();
        ::close(m_stop[0]);
        ::close(m_listener);
        ::unlink(m_path.constData());
    }

    // When each connection came, in milliseconds from the start.
    QList<qint64> connections() const
    {
        const std::lock_guard lock(m_mutex);
        return m_connected;
    }
    // How long each connection the program hung up had been held.
    QList<qint64> hangUps() const
    {
        const std::lock_guard lock(m_mutex);
        return m_hungUp;
    }

private:
    struct Held {
        int fd;
        qint64 since;
    };

    void serve()
    {
        std::vector<Held> held;
        while (true) {
            std::vector<pollfd> watched{{m_stop[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
            for (const Held &connection : held)
                watched.push_back({connection.fd, POLLIN, 0});
            ::poll(watched.data(), watched.size(), 20);
            if (watched[0].revents)
                break;
            const qint64 now = m_clock.elapsed();
            for (std::size_t i = held.size(); i-- > 0;) {
                char byte;
                const bool hungUp = watched[i + 2].revents && ::read(held[i].fd, &byte, 1) == 0;
                if (hungUp) {
                    const std::lock_guard lock(m_mutex);
                    m_hungUp << now - held[i].since;
                }
                if (hungUp || now - held[i].since >= m_holdMs) {
                    ::close(held[i].fd);
                    held.erase(held.begin() + std::ptrdiff_t(i));
                }
            }
            if (watched[1].revents) {
                const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0)
                    continue;
                const std::lock_guard lock(m_mutex);
                m_connected << now;
                if (m_holdMs == 0)
                    ::close(fd);
                else
                    held.push_back({fd, now});
            }
        }
        for (const Held &connection : held)
            ::close(connection.fd);
    }

    const int m_holdMs;
    QElapsedTimer m_clock;
    int m_listener = -1;
    int m_stop[2] = {-1, -1};
    QByteArray m_path;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    QList<qint64> m_connected;
    QList<qint64> m_hungUp;
};

} // namespace

// The Wayland channel against a compositor of the test's own, on a runtime folder of its own.
class WaylandChannelTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void aCompositorThatNeverAnswersHoldsNothingUp();
    void aCompositorThatHangsUpIsAskedLessAndLessOften();
    void anOfferOfCountlessTypesIsCutShort();

private:
    QTemporaryDir m_runtime;
};

void WaylandChannelTest::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    qputenv("WAYLAND_DISPLAY", socketName);
    qunsetenv("WAYLAND_SOCKET");
}

void WaylandChannelTest::aCompositorThatNeverAnswersHoldsNothingUp()
{
    std::optional<FakeCompositor> compositor(std::in_place);
    WaylandSelectionChannel channel;
    QVERIFY(channel.isConnected());
    QSignalSpy lost(&channel, &WaylandSelectionChannel::lost);

    compositor.reset();
    // It lets go after 6 s, so that a program that waits for it is not held for ever.
    std::optional<SilentCompositor> silent(std::in_place, 6000);
    QTRY_COMPARE(lost.count(), 1);
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer tick;
    tick.setInterval(20);
    connect(&tick, &QTimer::timeout, this,
            [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    tick.start();
    QTest::qWait(4000);
    QVERIFY2(longestGap < 500,
             qPrintable(QStringLiteral("the event loop stood still for %1 ms").arg(longestGap)));
    QVERIFY2(!silent->connections().isEmpty(), "the channel tried to connect again");
    const QList<qint64> hangUps = silent->hangUps();
    QVERIFY2(!hangUps.isEmpty(), "the channel gave up the connection that is not answered");
    QVERIFY2(hangUps.first() >= 1500 && hangUps.first() <= 3000,
             qPrintable(QStringLiteral("given up after %1 ms").arg(hangUps.first())));
    QVERIFY(!channel.isConnected());

    // Once the compositor answers again, the channel connects, without a second word.
    silent.reset();
    compositor.emplace();
    QTRY_VERIFY_WITH_TIMEOUT(channel.isConnected(), 5000);
    QCOMPARE(lost.count(), 1);
}

void WaylandChannelTest::aCompositorThatHangsUpIsAskedLessAndLessOften()
{
    std::optional<FakeCompositor> compositor(std::in_place);
    WaylandSelectionChannel channel;
    QVERIFY(channel.isConnected());
    compositor.reset();
    const SilentCompositor hangingUp(0);
    // Asked again after a second, then two, then four: 7 s.
    QTRY_VERIFY2_WITH_TIMEOUT(hangingUp.connections().size() >= 3,
                              "the channel stopped trying after the compositor hung up", 12000);
    const QList<qint64> at = hangingUp.connections();
    const qint64 firstWait = at[1] - at[0];
    const qint64 secondWait = at[2] - at[1];
    QVERIFY2(firstWait >= 1500 && secondWait >= firstWait * 3 / 2,
             qPrintable(QStringLiteral("asked again after %1 ms, then after %2 ms")
                            .arg(firstWait)
                            .arg(secondWait)));
}

void WaylandChannelTest::anOfferOfCountlessTypesIsCutShort()
{
    // Each type takes memory on the window's thread; an owner may offer them without end.
    QStringList offered;
    for (int i = 0; i < 3000; ++i)
        offered << QStringLiteral("application/x-made-up-%1").arg(i);
    const FakeCompositor compositor(offered);
    WaylandSelectionChannel channel;
    QSignalSpy changed(&channel, &SelectionChannel::selectionChanged);
    QSignalSpy types(&channel, &SelectionChannel::typesOffered);
    QTRY_COMPARE(changed.count(), 1);
    channel.requestTypes();
    QTRY_COMPARE(types.count(), 1);
    QCOMPARE(types.constFirst().constFirst().toStringList(),
             offered.first(SelectionChannel::mostTypes));
}

QTEST_GUILESS_MAIN(WaylandChannelTest)
#include "tst_waylandchannel.moc"
