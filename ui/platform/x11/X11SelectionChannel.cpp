#include "ui/platform/x11/X11SelectionChannel.h"

#include "ui/platform/x11/XcbReply.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace
{

// Far more than any property holds: the whole value in one reply.
constexpr std::uint32_t wholeProperty = 0x1fffffff;
// How long events are handled before the rest of the program gets its turn.
constexpr qint64 sliceMs = 10;

} // namespace

X11SelectionChannel::X11SelectionChannel(const QByteArray &display, QObject *parent)
    : SelectionChannel(parent)
{
    if (!connectTo(display)) {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_window = 0;
    }
}

X11SelectionChannel::~X11SelectionChannel()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool X11SelectionChannel::connectTo(const QByteArray &display)
{
    int screenNumber = 0;
    m_connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection))
        return false;
    const xcb_query_extension_reply_t *xfixes =
        xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return false;
    m_xfixesEvents = xfixes->first_event;
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        m_connection,
        xcb_xfixes_query_version(m_connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    if (!version)
        return false;

    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return false;
    m_clipboard = atom("CLIPBOARD");
    m_targets = atom("TARGETS");
    m_incr = atom("INCR");
    for (std::size_t i = 0; i < m_properties.size(); ++i)
        m_properties[i] = atom("QUILLBOX_TRANSFER_" + QByteArray::number(qulonglong(i)));
    if (!m_clipboard || !m_targets || !m_incr)
        return false;

    const std::uint32_t window = xcb_generate_id(m_connection);
    const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, 0, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &eventMask);
    xcb_xfixes_select_selection_input(m_connection, window, m_clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_clipboard), nullptr));
    if (!owner)
        return false;
    m_owner = owner->owner;
    m_window = window;

    m_notifier =
        new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11SelectionChannel::handleEvents);
    xcb_flush(m_connection);
    // Replies waited for above may have brought events along.
    QTimer::singleShot(0, this, &X11SelectionChannel::handleEvents);
    return true;
}

void X11SelectionChannel::handleEvents()
{
    if (!m_connection)
        return;
    // An owner that answers at once keeps the next piece of a large text always waiting: the
    // window gets its turn between slices of the transfer, and the rest follows right after.
    QElapsedTimer slice;
    slice.start();
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        handleEvent(*event);
        std::free(event);
        if (slice.hasExpired(sliceMs)) {
            QTimer::singleShot(0, this, &X11SelectionChannel::handleEvents);
            break;
        }
    }
    if (xcb_connection_has_error(m_connection)) {
        // The X server has gone: nothing can change or be read any more.
        m_notifier->setEnabled(false);
        if (m_request)
            failRequest();
        return;
    }
    xcb_flush(m_connection);
}

void X11SelectionChannel::handleEvent(const xcb_generic_event_t &event)
{
    const int type = event.response_type & 0x7f;
    if (type == XCB_SELECTION_NOTIFY) {
        takeSelectionNotify(reinterpret_cast<const xcb_selection_notify_event_t &>(event));
    } else if (type == XCB_PROPERTY_NOTIFY) {
        takePropertyNotify(reinterpret_cast<const xcb_property_notify_event_t &>(event));
    } else if (type == m_xfixesEvents + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto &notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t &>(event);
        if (notify.selection != m_clipboard)
            return;
        m_owner = notify.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER ? notify.owner
                                                                                   : XCB_NONE;
        Q_EMIT selectionChanged();
    }
}

void X11SelectionChannel::requestTypes()
{
    startRequest(Request::Kind::Types, m_targets);
}

void X11SelectionChannel::requestData(const QString &type)
{
    startRequest(Request::Kind::Data, atom(type.toLatin1()));
}

void X11SelectionChannel::startRequest(Request::Kind kind, Atom target)
{
    abandon();
    if (!m_window || !target) {
        reportLater([this] { Q_EMIT transferFailed(); });
        return;
    }
    if (m_owner == XCB_NONE) {
        // An empty clipboard offers nothing, and its data is no data.
        if (kind == Request::Kind::Types)
            reportLater([this] { Q_EMIT typesOffered({}); });
        else
            reportLater([this] { Q_EMIT transferFailed(); });
        return;
    }
    const Atom property = m_properties[std::size_t(m_nextProperty)];
    m_nextProperty = (m_nextProperty + 1) % int(m_properties.size());
    m_request = Request{kind, target, property};
    xcb_delete_property(m_connection, m_window, property);
    xcb_convert_selection(m_connection, m_window, m_clipboard, target, property, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    awaitProgress();
    QTimer::singleShot(0, this, &X11SelectionChannel::handleEvents);
}

void X11SelectionChannel::abandon()
{
    stopAwaiting();
    if (m_request && m_window) {
        xcb_delete_property(m_connection, m_window, m_request->property);
        xcb_flush(m_connection);
    }
    m_request.reset();
    ++m_serial;
}

void X11SelectionChannel::dropStalledRequest()
{
    abandon();
}

void X11SelectionChannel::failRequest()
{
    abandon();
    Q_EMIT transferFailed();
}

void X11SelectionChannel::reportLater(std::function<void()> report)
{
    const int serial = ++m_serial;
    QTimer::singleShot(0, this, [this, serial, report = std::move(report)] {
        if (serial == m_serial)
            report();
    });
}

void X11SelectionChannel::takeSelectionNotify(const xcb_selection_notify_event_t &event)
{
    // The answer to a request given up may still come, naming that request's own property.
    if (!m_request || m_request->incremental || event.requestor != m_window ||
        event.selection != m_clipboard || event.target != m_request->target ||
        (event.property != XCB_NONE && event.property != m_request->property))
        return;
    if (event.property == XCB_NONE) {
        // The owner cannot give its data in that type.
        failRequest();
        return;
    }
    std::optional<Property> value = takeProperty(m_request->property);
    if (!value) {
        failRequest();
        return;
    }
    if (value->type == m_incr) {
        // The data follows in pieces, each announced by a new value of the property; the
        // deletion just made asks for the first.
        m_request->incremental = true;
        awaitProgress();
        return;
    }
    finishWith(value->data, value->type, value->format);
}

void X11SelectionChannel::takePropertyNotify(const xcb_property_notify_event_t &event)
{
    if (!m_request || !m_request->incremental || event.window != m_window ||
        event.atom != m_request->property || event.state != XCB_PROPERTY_NEW_VALUE)
        return;
    std::optional<Property> piece = takeProperty(m_request->property);
    if (!piece) {
        failRequest();
        return;
    }
    if (piece->data.isEmpty()) {
        // The empty piece ends the transfer: every piece has been reported as it came.
        finishWith(QByteArray(), XCB_NONE, 0);
        return;
    }
    awaitProgress();
    if (m_request->kind == Request::Kind::Data)
        Q_EMIT dataArrived(piece->data);
}

void X11SelectionChannel::finishWith(const QByteArray &data, Atom type, int format)
{
    if (!ownerUnchanged()) {
        failRequest();
        return;
    }
    stopAwaiting();
    const Request::Kind kind = m_request->kind;
    m_request.reset();
    if (kind == Request::Kind::Types) {
        const bool atoms = type == XCB_ATOM_ATOM || type == m_targets;
        Q_EMIT typesOffered(atoms && format == 32 ? typeNames(data) : QStringList());
        return;
    }
    if (!data.isEmpty())
        Q_EMIT dataArrived(data);
    Q_EMIT dataEnded();
}

bool X11SelectionChannel::ownerUnchanged()
{
    // An owner that gives up the clipboard midway may answer with nothing at all; asking the
    // server tells such an answer from a text that really is empty, before the change is heard of.
    XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_clipboard), nullptr));
    return owner && owner->owner == m_owner;
}

std::optional<X11SelectionChannel::Property> X11SelectionChannel::takeProperty(Atom property)
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 1, m_window, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, wholeProperty),
                               nullptr));
    if (!reply)
        return std::nullopt;
    Property value;
    value.type = reply->type;
    value.format = reply->format;
    value.data = QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                            xcb_get_property_value_length(reply.get()));
    return value;
}

X11SelectionChannel::Atom X11SelectionChannel::atom(const QByteArray &name)
{
    if (const auto known = m_atoms.constFind(name); known != m_atoms.constEnd())
        return *known;
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, std::uint16_t(name.size()), name.constData()), nullptr));
    if (!reply)
        return XCB_NONE;
    m_atoms.insert(name, reply->atom);
    m_names.insert(reply->atom, QString::fromLatin1(name));
    return reply->atom;
}

QStringList X11SelectionChannel::typeNames(const QByteArray &atoms)
{
    const qsizetype count = atoms.size() / qsizetype(sizeof(Atom));
    const auto *values = reinterpret_cast<const Atom *>(atoms.constData());
    // All unknown names are asked for at once, then their answers collected.
    QHash<Atom, xcb_get_atom_name_cookie_t> asked;
    for (qsizetype i = 0; i < count; ++i) {
        if (values[i] != XCB_NONE && !m_names.contains(values[i]) && !asked.contains(values[i]))
            asked.insert(values[i], xcb_get_atom_name(m_connection, values[i]));
    }
    for (auto ask = asked.cbegin(); ask != asked.cend(); ++ask) {
        XcbReply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(m_connection, ask.value(), nullptr));
        if (reply)
            m_names.insert(ask.key(),
                           QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                               xcb_get_atom_name_name_length(reply.get())));
    }
    QStringList names;
    for (qsizetype i = 0; i < count; ++i) {
        const QString name = m_names.value(values[i]);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

void X11SelectionChannel::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void X11SelectionChannel::clear()
{
    // Through Qt too: its next write must not carry an earlier time than this one.
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}
