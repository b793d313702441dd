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

// A value is read in parts of this many 32-bit units (1 MiB), whatever the owner wrote: a value of
// gigabytes never arrives in one reply.
constexpr std::uint32_t partUnits = 256 * 1024;
// Names of types heard of, kept so that the usual ones are not looked up at every copy; made-up
// ones must not pile up.
constexpr qsizetype mostNamesKept = 4 * SelectionChannel::mostTypes;
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
    m_property = atom("QUILLBOX_TRANSFER");
    if (!m_clipboard || !m_targets || !m_incr || !m_property)
        return false;
    m_root = screens.data->root;

    // The window that hears of new owners; transfers have windows of their own.
    const std::uint32_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, 0, window, m_root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
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
    const std::uint32_t window = xcb_generate_id(m_connection);
    if (window == std::uint32_t(-1)) {
        reportLater([this] { Q_EMIT transferFailed(); });
        return;
    }
    const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, 0, window, m_root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &eventMask);
    m_request = Request{kind, target, window};
    xcb_convert_selection(m_connection, window, m_clipboard, target, m_property, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    awaitProgress();
    QTimer::singleShot(0, this, &X11SelectionChannel::handleEvents);
}

void X11SelectionChannel::abandon()
{
    stopAwaiting();
    if (m_request) {
        // The window takes its property along without a word to an owner that listens to it:
        // nothing asks that owner for more, and whatever it still writes goes nowhere.
        xcb_destroy_window(m_connection, m_request->window);
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
    if (!m_request || m_request->incremental || m_request->offset != 0 ||
        event.requestor != m_request->window || event.selection != m_clipboard ||
        event.target != m_request->target ||
        (event.property != XCB_NONE && event.property != m_property))
        return;
    if (event.property == XCB_NONE) {
        // The owner cannot give its data in that type.
        failRequest();
        return;
    }
    if (m_request->kind == Request::Kind::Types)
        takeTypes();
    else
        readValue();
}

void X11SelectionChannel::takePropertyNotify(const xcb_property_notify_event_t &event)
{
    // While a part of an increment is still to be read, the owner has not been asked for more.
    if (m_request && m_request->incremental && m_request->offset == 0 &&
        event.window == m_request->window && event.atom == m_property &&
        event.state == XCB_PROPERTY_NEW_VALUE)
        readValue();
}

void X11SelectionChannel::takeTypes()
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 0, m_request->window, m_property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, mostTypes),
                               nullptr));
    if (!reply || reply->type == XCB_NONE) {
        failRequest();
        return;
    }
    // Types offered in increments are not worth the transfer: that owner offers no text.
    const bool atoms =
        (reply->type == XCB_ATOM_ATOM || reply->type == m_targets) && reply->format == 32;
    const QStringList types =
        atoms ? typeNames(QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                                     xcb_get_property_value_length(reply.get())))
              : QStringList();
    if (!ownerUnchanged()) {
        failRequest();
        return;
    }
    abandon();
    Q_EMIT typesOffered(types);
}

void X11SelectionChannel::readValue()
{
    Request &request = *m_request;
    // An increment is deleted as its last part is read, which asks the owner for the next.
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, request.incremental, request.window, m_property,
                         XCB_GET_PROPERTY_TYPE_ANY, request.offset, partUnits),
        nullptr));
    if (!reply) {
        failRequest();
        return;
    }
    if (reply->type == XCB_NONE) {
        // A notice may come of an increment that is not there (yet): only the owner's empty
        // increment ends the text. An answer that is not there is no answer.
        if (!request.incremental)
            failRequest();
        return;
    }
    if (!request.incremental && request.offset == 0 && reply->type == m_incr) {
        // The data follows in increments, each announced by a new value of the property; the
        // deletion asks for the first.
        request.incremental = true;
        xcb_delete_property(m_connection, request.window, m_property);
        xcb_flush(m_connection);
        awaitProgress();
        return;
    }
    if (reply->format != 8) {
        abandon();
        Q_EMIT dataNotText();
        return;
    }
    if (request.incremental && request.offset == 0) {
        if (request.pieceType == XCB_NONE)
            request.pieceType = reply->type;
        if (reply->type != request.pieceType) {
            failRequest();
            return;
        }
    }
    const int length = xcb_get_property_value_length(reply.get());
    if (request.incremental && request.offset == 0 && length == 0) {
        finishData();
        return;
    }
    awaitProgress();
    const int serial = m_serial;
    if (length > 0)
        Q_EMIT dataArrived(
            QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), length));
    // The receiver may have given up the request on the way.
    if (serial != m_serial)
        return;
    if (reply->bytes_after == 0) {
        request.offset = 0;
        if (!request.incremental)
            finishData();
        return;
    }
    // The rest follows once the window has had its turn.
    request.offset += std::uint32_t(length) / 4;
    QTimer::singleShot(0, this, [this, serial] {
        if (serial == m_serial)
            readValue();
    });
}

void X11SelectionChannel::finishData()
{
    if (!ownerUnchanged()) {
        failRequest();
        return;
    }
    abandon();
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
    if (m_names.size() > mostNamesKept)
        m_names.clear();
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
