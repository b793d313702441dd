#include "ScriptedOwner.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>

namespace
{

// A request has a size limit: a larger value is written in steps, each appended to the last.
constexpr qsizetype stepBytes = 1 << 20;

QByteArray cycled(const QByteArray &text, qsizetype offset, qsizetype size)
{
    QByteArray piece;
    piece.reserve(size);
    while (piece.size() < size)
        piece.append(text.at((offset + piece.size()) % text.size()));
    return piece;
}

} // namespace

ScriptedOwner::ScriptedOwner(const Script &script)
    : m_script(script), m_connection(xcb_connect(nullptr, nullptr))
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, 0, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    m_clipboard = atom("CLIPBOARD");
    m_targets = atom("TARGETS");
    m_utf8 = atom("UTF8_STRING");
    m_incr = atom("INCR");
    // Asked for all at once, then collected: one at a time, thousands take seconds.
    QList<xcb_intern_atom_cookie_t> madeUp;
    for (int i = 0; i < script.madeUpTypes; ++i) {
        const QByteArray name = "made-up-type-" + QByteArray::number(i);
        madeUp.append(xcb_intern_atom(m_connection, 0, uint16_t(name.size()), name.constData()));
    }
    for (const xcb_intern_atom_cookie_t cookie : madeUp) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        m_madeUpTypes.append(reply->atom);
        std::free(reply);
    }
    claim();
    auto *notifier =
        new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ScriptedOwner::serve);
}

ScriptedOwner::~ScriptedOwner()
{
    xcb_disconnect(m_connection);
}

xcb_atom_t ScriptedOwner::atom(const QByteArray &name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, uint16_t(name.size()), name.constData()),
        nullptr);
    const xcb_atom_t value = reply->atom;
    std::free(reply);
    return value;
}

void ScriptedOwner::claim()
{
    xcb_set_selection_owner(m_connection, m_window, m_clipboard, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
}

void ScriptedOwner::serve()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_REQUEST) {
            const auto request = *reinterpret_cast<xcb_selection_request_event_t *>(event);
            if (m_script.reclaimsOnce && !m_reclaimed) {
                m_reclaimed = true;
                QTimer::singleShot(10, this, &ScriptedOwner::claim);
            }
            QTimer::singleShot(m_script.answerDelayMs, this, [this, request] { answer(request); });
        } else if (type == XCB_PROPERTY_NOTIFY) {
            const auto &change = *reinterpret_cast<xcb_property_notify_event_t *>(event);
            const Place place(change.window, change.atom);
            if (change.state == XCB_PROPERTY_DELETE && m_transfers.contains(place))
                handOverNextPiece(place);
        }
        std::free(event);
    }
    xcb_flush(m_connection);
}

void ScriptedOwner::answer(const xcb_selection_request_event_t &request)
{
    const Place place(request.requestor, request.property);
    if (request.target == m_targets) {
        QList<xcb_atom_t> offered{m_targets, m_utf8};
        offered.append(m_madeUpTypes);
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor,
                            request.property, XCB_ATOM_ATOM, 32, uint32_t(offered.size()),
                            offered.constData());
    } else if (request.target != m_utf8) {
        notify(request, XCB_NONE);
        return;
    } else if (m_script.pieceBytes == 0) {
        write(place, m_utf8, m_script.text);
    } else {
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, request.requestor, XCB_CW_EVENT_MASK, &mask);
        const auto size = std::uint32_t(m_script.text.size());
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor,
                            request.property, m_incr, 32, 1, &size);
        m_transfers.insert(place, Transfer());
    }
    notify(request, request.property);
}

void ScriptedOwner::handOverNextPiece(const Place &place)
{
    Transfer &transfer = m_transfers[place];
    if (transfer.ended) {
        m_transfers.remove(place);
        return;
    }
    const QByteArray piece = m_script.endless
                                 ? cycled(m_script.text, transfer.offset, m_script.pieceBytes)
                                 : m_script.text.mid(transfer.offset, m_script.pieceBytes);
    transfer.offset += piece.size();
    transfer.ended = piece.isEmpty();
    if (m_script.announcesPiecesEarly)
        announce(place);
    write(place, m_utf8, piece);
    ++m_piecesHandedOver;
}

void ScriptedOwner::write(const Place &place, xcb_atom_t type, const QByteArray &bytes)
{
    const int unit = m_script.format / 8;
    qsizetype done = 0;
    do {
        const qsizetype size = std::min(stepBytes, bytes.size() - done);
        xcb_change_property(m_connection, done == 0 ? XCB_PROP_MODE_REPLACE : XCB_PROP_MODE_APPEND,
                            place.first, place.second, type, std::uint8_t(m_script.format),
                            std::uint32_t(size / unit), bytes.constData() + done);
        done += size;
    } while (done < bytes.size());
}

void ScriptedOwner::announce(const Place &place)
{
    xcb_property_notify_event_t notice{};
    notice.response_type = XCB_PROPERTY_NOTIFY;
    notice.window = place.first;
    notice.atom = place.second;
    notice.state = XCB_PROPERTY_NEW_VALUE;
    xcb_send_event(m_connection, 0, place.first, XCB_EVENT_MASK_PROPERTY_CHANGE,
                   reinterpret_cast<const char *>(&notice));
}

void ScriptedOwner::notify(const xcb_selection_request_event_t &request, xcb_atom_t property)
{
    xcb_selection_notify_event_t notice{};
    notice.response_type = XCB_SELECTION_NOTIFY;
    notice.time = request.time;
    notice.requestor = request.requestor;
    notice.selection = request.selection;
    notice.target = request.target;
    notice.property = property;
    xcb_send_event(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&notice));
    // Answers may come from a timer, outside serve().
    xcb_flush(m_connection);
}
