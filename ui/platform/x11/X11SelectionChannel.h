#pragma once

#include "ui/platform/SelectionChannel.h"

#include <QHash>
#include <cstdint>
#include <functional>
#include <optional>

#include <xcb/xcb.h>

class QSocketNotifier;

// The X11 clipboard over a connection of the program's own: XFixes reports every new owner, and
// a transfer, large ones in increments (INCR) included, moves as the owner's events arrive, so
// the window keeps answering while a large text comes in. Writes go through Qt's clipboard, which
// serves other programs from the program's own windows (and keeps the times of its writes in
// order).
class X11SelectionChannel : public SelectionChannel
{
    Q_OBJECT
public:
    // Connects to the display named, or to $DISPLAY's when it is empty.
    explicit X11SelectionChannel(const QByteArray &display = QByteArray(),
                                 QObject *parent = nullptr);
    ~X11SelectionChannel() override;

    // False when the display could not be reached or lacks XFixes.
    bool isConnected() const { return m_window != 0; }

    void requestTypes() override;
    void requestData(const QString &type) override;
    void abandon() override;
    void setText(const QString &text) override;
    void clear() override;

protected:
    void dropStalledRequest() override;

private:
    using Atom = xcb_atom_t;

    // Each request is answered on a window made for it and destroyed with it: an owner still busy
    // with a request given up, late or in the middle of its increments, can no longer write where
    // a later request reads.
    struct Request {
        enum class Kind { Types, Data } kind;
        Atom target;
        std::uint32_t window;
        bool incremental = false;
        // The type of the first increment, which the empty one that ends them has too.
        Atom pieceType = XCB_NONE;
        // A value larger than one reply is read in parts; this is where the next part starts, in
        // 32-bit units.
        std::uint32_t offset = 0;
    };

    bool connectTo(const QByteArray &display);
    void handleEvents();
    void handleEvent(const xcb_generic_event_t &event);
    void takeSelectionNotify(const xcb_selection_notify_event_t &event);
    void takePropertyNotify(const xcb_property_notify_event_t &event);
    void startRequest(Request::Kind kind, Atom target);
    void takeTypes();
    // Reads the next part of the value that answers a request for data, or the next increment.
    void readValue();
    void finishData();
    // Whether the clipboard still has the owner the request was made to.
    bool ownerUnchanged();
    void failRequest();
    // Reports to the receiver later, unless the request has been given up by then.
    void reportLater(std::function<void()> report);
    Atom atom(const QByteArray &name);
    QStringList typeNames(const QByteArray &atoms);

    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_window = 0;
    std::uint8_t m_xfixesEvents = 0;
    Atom m_clipboard = 0;
    Atom m_targets = 0;
    Atom m_incr = 0;
    Atom m_property = 0;
    Atom m_owner = 0;
    int m_serial = 0;
    std::optional<Request> m_request;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QByteArray, Atom> m_atoms;
    QHash<Atom, QString> m_names;
};
