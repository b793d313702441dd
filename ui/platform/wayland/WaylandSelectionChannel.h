#pragma once

#include "ui/platform/SelectionChannel.h"

#include <QHash>
#include <cstdint>

class PipeReader;
class QSocketNotifier;
class QTimer;
struct wl_callback;
struct wl_display;
struct wl_interface;
struct wl_proxy;
struct wl_registry;

// The interfaces of one of the two data-control protocols.
struct DataControlInterfaces;

// The Wayland clipboard through the compositor's data control (ext_data_control_v1, or the older
// zwlr_data_control_v1 of the same shape), on a connection of the program's own: it hears of every
// change and can read and set the clipboard whichever window has the focus, whatever platform Qt
// itself runs on. Data moves through pipes as the other side writes or reads them.
class WaylandSelectionChannel : public SelectionChannel
{
    Q_OBJECT
public:
    explicit WaylandSelectionChannel(QObject *parent = nullptr);
    ~WaylandSelectionChannel() override;

    // False while no compositor can be reached, or where it offers no data control.
    bool isConnected() const { return m_device != nullptr; }
    // The data-control interface bound, for telling the user which route serves.
    QByteArray protocolName() const;

    void requestTypes() override;
    void requestData(const QString &type) override;
    void abandon() override;
    void setText(const QString &text) override;
    void clear() override;

    // The compositor's callbacks, through which its events reach the channel.
    struct Callbacks;

Q_SIGNALS:
    // The connection to the compositor broke: nothing is read or written until the channel has
    // connected again, which it tries by itself, a second later at first and less often the
    // longer no compositor answers.
    void lost();

protected:
    void dropStalledRequest() override;

private:
    // The globals of the compositor that the channel binds.
    struct Globals {
        std::uint32_t seat = 0;
        std::uint32_t ext = 0;
        std::uint32_t wlr = 0;
        std::uint32_t wlrVersion = 0;
    };

    // Opens a connection and asks for the compositor's globals, without waiting for them; false
    // where no compositor can be reached.
    bool startConnecting();
    // Binds data control once the compositor has named its globals; the connection is let go
    // where it offers none.
    void finishConnecting();
    bool bind();
    // Tries to connect again later, each time a while later than the last.
    void retryLater();
    void reconnect();
    // Frees every proxy and the connection itself.
    void release();
    void dispatch();
    void flush();
    void connectionLost();
    void reportLater(std::function<void()> report);
    void dropOffer(wl_proxy *offer);
    void takeNewOffer(wl_proxy *offer);
    void takeSelection(wl_proxy *offer);
    void sendSource(wl_proxy *source, int fd);
    void dropSource(wl_proxy *source);

    wl_display *m_display = nullptr;
    // While connecting: the globals heard of, and the request whose answer ends the list.
    bool m_connecting = false;
    Globals m_globals;
    wl_callback *m_globalsListed = nullptr;
    wl_registry *m_registry = nullptr;
    wl_proxy *m_seat = nullptr;
    wl_proxy *m_manager = nullptr;
    wl_proxy *m_device = nullptr;
    const DataControlInterfaces *m_interfaces = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_reconnect;
    QTimer *m_answerLimit;
    // How long the next attempt to connect waits.
    int m_retryMs;
    // Every offer the compositor announced and not yet dropped, with the types it came in.
    QHash<wl_proxy *, QStringList> m_offers;
    wl_proxy *m_selection = nullptr;
    // The program's own texts on offer, by their source.
    QHash<wl_proxy *, QByteArray> m_sources;
    PipeReader *m_reader = nullptr;
    int m_serial = 0;

    friend struct Callbacks;
};
