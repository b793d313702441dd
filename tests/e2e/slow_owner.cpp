// Another program that owns the X11 clipboard and hands a large text over slowly: in increments
// (INCR) of a given size, each one a given time after the reader asked for it, as an editor
// under load would. Prints "owned" once it owns the clipboard and "done" with the steady clock's
// count when a reader has had the whole text; ends when another program takes the clipboard.
// With "endless", the increments never end, the text over and over, as from a hostile owner; it
// prints "gone" when the reader's window has gone in the middle.
//   slow_owner FILE PIECE_BYTES DELAY_MS [endless]
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>

namespace
{

using Clock = std::chrono::steady_clock;

struct Transfer {
    bool running = false;
    xcb_window_t requestor = XCB_NONE;
    xcb_atom_t property = XCB_NONE;
    std::size_t offset = 0;
    bool pieceDue = false;
    Clock::time_point pieceAt;
};

xcb_atom_t intern(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

void notify(xcb_connection_t *connection, const xcb_selection_request_event_t &request,
            xcb_atom_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&event));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4 && !(argc == 5 && std::strcmp(argv[4], "endless") == 0))
        return 2;
    const bool endless = argc == 5;
    std::ifstream file(argv[1], std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    const std::size_t pieceBytes = std::strtoul(argv[2], nullptr, 10);
    const auto delay = std::chrono::milliseconds(std::atoi(argv[3]));

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, 0, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboard = intern(connection, "CLIPBOARD");
    const xcb_atom_t targets = intern(connection, "TARGETS");
    const xcb_atom_t utf8 = intern(connection, "UTF8_STRING");
    const xcb_atom_t incr = intern(connection, "INCR");
    xcb_set_selection_owner(connection, window, clipboard, XCB_CURRENT_TIME);
    xcb_flush(connection);
    std::printf("owned\n");
    std::fflush(stdout);

    Transfer transfer;
    pollfd socket{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (!xcb_connection_has_error(connection)) {
        int timeout = -1;
        if (transfer.pieceDue)
            timeout = int(std::max<long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                transfer.pieceAt - Clock::now())
                                                .count()));
        poll(&socket, 1, timeout);
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const int type = event->response_type & 0x7f;
            if (type == XCB_SELECTION_CLEAR) {
                return 0;
            } else if (type == XCB_DESTROY_NOTIFY && transfer.running &&
                       reinterpret_cast<xcb_destroy_notify_event_t *>(event)->window ==
                           transfer.requestor) {
                transfer = Transfer();
                std::printf("gone\n");
                std::fflush(stdout);
            } else if (type == XCB_SELECTION_REQUEST) {
                const auto &request = *reinterpret_cast<xcb_selection_request_event_t *>(event);
                if (request.target == targets) {
                    const xcb_atom_t offered[] = {targets, utf8};
                    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                        request.property, XCB_ATOM_ATOM, 32, 2, offered);
                    notify(connection, request, request.property);
                } else if (request.target == utf8 && !transfer.running) {
                    const std::uint32_t mask =
                        XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
                    xcb_change_window_attributes(connection, request.requestor, XCB_CW_EVENT_MASK,
                                                 &mask);
                    const std::uint32_t size = std::uint32_t(text.size());
                    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                        request.property, incr, 32, 1, &size);
                    notify(connection, request, request.property);
                    transfer = Transfer();
                    transfer.running = true;
                    transfer.requestor = request.requestor;
                    transfer.property = request.property;
                } else {
                    notify(connection, request, XCB_NONE);
                }
            } else if (type == XCB_PROPERTY_NOTIFY && transfer.running) {
                const auto &change = *reinterpret_cast<xcb_property_notify_event_t *>(event);
                // The reader took the last piece: the next one follows after the delay.
                if (change.window == transfer.requestor && change.atom == transfer.property &&
                    change.state == XCB_PROPERTY_DELETE) {
                    transfer.pieceDue = true;
                    transfer.pieceAt = Clock::now() + delay;
                }
            }
            std::free(event);
        }
        if (transfer.pieceDue && Clock::now() >= transfer.pieceAt) {
            if (endless)
                transfer.offset %= text.size();
            const std::size_t size = std::min(pieceBytes, text.size() - transfer.offset);
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, transfer.requestor,
                                transfer.property, utf8, 8, std::uint32_t(size),
                                text.data() + transfer.offset);
            transfer.offset += size;
            transfer.pieceDue = false;
            if (size == 0) {
                transfer = Transfer();
                std::printf("done %lld\n",
                            static_cast<long long>(Clock::now().time_since_epoch().count()));
                std::fflush(stdout);
            }
        }
        xcb_flush(connection);
    }
    return 1;
}
