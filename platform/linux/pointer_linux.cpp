// The pointer's place on X11, asked up to a hundred times a second by the
// docking poll.  A round trip to the server each time would cost more than
// everything else the docked window does at rest, so the connection also
// listens to the pointer's raw motion (XInput 2): while none arrives the
// pointer is where it was last seen and no request is sent.  A warp of the
// pointer raises no raw motion, so the place is asked afresh at least every
// quarter of a second all the same.
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/platform.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto longest_trust = std::chrono::milliseconds(250);

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// Raw motion of every pointer, delivered to the root window whatever
// window the pointer is over and whoever holds a grab (XInput 2.2).
bool listen_to_raw_motion(xcb_connection_t* c, xcb_window_t root)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    if (extension == nullptr || extension->present == 0)
        return false;
    const Reply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr), &std::free);
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 2))
        return false;
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_MOTION};
    const Reply<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_input_xi_select_events_checked(c, root, 1, &mask.head)), &std::free);
    return !error;
}

// The connection of pointer_position, opened on first use and opened
// again should the display drop it, with the place last read on it.
class PointerConnection {
public:
    ~PointerConnection() { close(); }

    bool read(int& x, int& y)
    {
        if (!open())
            return false;
        if (!known_ || moved() || Clock::now() - read_at_ >= longest_trust) {
            if (!ask_server())
                return false;
        }
        x = x_;
        y = y_;
        return true;
    }

private:
    bool open()
    {
        if (c_ && xcb_connection_has_error(c_) != 0)
            close();
        if (c_ || std::getenv("DISPLAY") == nullptr)
            return c_ != nullptr;
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_) != 0) {
            close();
            return false;
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        listening_ = listen_to_raw_motion(c_, root_);
        return true;
    }

    // Whether the pointer may have moved since it was last read: raw
    // motion has come in, or nothing tells.  Reads what has come without
    // waiting for more.
    bool moved()
    {
        bool any = !listening_;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
            any = true;
            std::free(event);
        }
        return any;
    }

    bool ask_server()
    {
        const Reply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(c_, xcb_query_pointer(c_, root_), nullptr),
                                                     &std::free);
        known_ = reply != nullptr;
        if (!known_)
            return false;
        x_ = reply->root_x;
        y_ = reply->root_y;
        read_at_ = Clock::now();
        return true;
    }

    void close()
    {
        if (c_)
            xcb_disconnect(c_);
        c_ = nullptr;
        known_ = false;
        listening_ = false;
    }

    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    bool listening_ = false;
    bool known_ = false;
    int x_ = 0, y_ = 0;
    Clock::time_point read_at_;
};

}  // namespace

bool pointer_position(int& x, int& y)
{
    static PointerConnection connection;
    return connection.read(x, y);
}

}  // namespace platform
