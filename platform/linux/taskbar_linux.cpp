// Leaving a window out of the taskbar on X11: the window manager reads the
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER states when the
// window is mapped.  Qt keeps states it does not manage itself, so setting
// them on the unmapped window is enough.
#include "platform/platform.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {

namespace {

xcb_atom_t intern(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(xcb_intern_atom_reply(c, cookie, nullptr),
                                                                         &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<xcb_atom_t> current_states(xcb_connection_t* c, xcb_window_t window, xcb_atom_t state)
{
    const auto cookie = xcb_get_property(c, 0, window, state, XCB_ATOM_ATOM, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                                          &std::free);
    std::vector<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        atoms.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
    }
    return atoms;
}

}  // namespace

void hide_from_taskbar(std::uintptr_t native_window)
{
    if (std::getenv("DISPLAY") == nullptr)
        return;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) == 0) {
        const auto window = static_cast<xcb_window_t>(native_window);
        const xcb_atom_t state = intern(c, "_NET_WM_STATE");
        std::vector<xcb_atom_t> atoms = current_states(c, window, state);
        for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
            const xcb_atom_t atom = intern(c, name);
            if (atom != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), atom) == atoms.end())
                atoms.push_back(atom);
        }
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(atoms.size()), atoms.data());
        // A round trip, so the property is set before the window is mapped
        // through the program's own connection.
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
    xcb_disconnect(c);
}

// The window manager moves a window when asked through the root window
// (_NET_WM_DESKTOP), to the desktop in _NET_CURRENT_DESKTOP.
void move_to_current_desktop(std::uintptr_t native_window)
{
    if (std::getenv("DISPLAY") == nullptr)
        return;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) == 0) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const auto cookie = xcb_get_property(c, 0, root, intern(c, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL, 0, 1);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(c, cookie, nullptr), &std::free);
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 4) {
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = static_cast<xcb_window_t>(native_window);
            message.type = intern(c, "_NET_WM_DESKTOP");
            message.data.data32[0] = *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
            message.data.data32[1] = 2;  // on the user's behalf
            xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&message));
            xcb_flush(c);
        }
    }
    xcb_disconnect(c);
}

// A window manager announces the frame of a window in _NET_FRAME_EXTENTS
// once it manages it; asked with _NET_REQUEST_FRAME_EXTENTS, it sets the
// property on a window not yet shown.  A manager that does not answer
// within a moment gets zeros.
FrameExtents frame_extents(std::uintptr_t native_window, void* toolkit_connection)
{
    FrameExtents extents;
    if (std::getenv("DISPLAY") == nullptr)
        return extents;
    if (toolkit_connection) {
        // A round trip, so every request of the toolkit is done.
        auto* own = static_cast<xcb_connection_t*>(toolkit_connection);
        std::free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr));
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) == 0) {
        const auto window = static_cast<xcb_window_t>(native_window);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const xcb_atom_t property = intern(c, "_NET_FRAME_EXTENTS");
        const auto read = [&] {
            const auto cookie = xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 4);
            std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
                xcb_get_property_reply(c, cookie, nullptr), &std::free);
            if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
                return false;
            const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
            extents = {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
            return true;
        };
        if (!read()) {
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = window;
            message.type = intern(c, "_NET_REQUEST_FRAME_EXTENTS");
            xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&message));
            xcb_flush(c);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
            while (!read() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    xcb_disconnect(c);
    return extents;
}

// The atom is the same for every connection to the display; it is asked
// for once.
bool is_frame_announcement(const void* native_event, std::uintptr_t native_window)
{
    const auto* event = static_cast<const xcb_generic_event_t*>(native_event);
    if (event == nullptr || (event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* change = static_cast<const xcb_property_notify_event_t*>(native_event);
    if (change->window != static_cast<xcb_window_t>(native_window))
        return false;
    static const xcb_atom_t frame_extents_atom = [] {
        xcb_atom_t atom = XCB_ATOM_NONE;
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c) == 0)
            atom = intern(c, "_NET_FRAME_EXTENTS");
        xcb_disconnect(c);
        return atom;
    }();
    return frame_extents_atom != XCB_ATOM_NONE && change->atom == frame_extents_atom;
}

void place_window(std::uintptr_t native_window, int x, int y)
{
    if (std::getenv("DISPLAY") == nullptr)
        return;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) == 0) {
        const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
        xcb_configure_window(c, static_cast<xcb_window_t>(native_window), XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y,
                             values);
        xcb_flush(c);
    }
    xcb_disconnect(c);
}

// The client's corner on the root window, less the frame the window
// manager announces.
bool frame_position(std::uintptr_t native_window, int& x, int& y)
{
    if (std::getenv("DISPLAY") == nullptr)
        return false;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    bool known = false;
    if (xcb_connection_has_error(c) == 0) {
        const auto window = static_cast<xcb_window_t>(native_window);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> on_root(
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr), &std::free);
        if (on_root) {
            const auto cookie =
                xcb_get_property(c, 0, window, intern(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4);
            std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
                xcb_get_property_reply(c, cookie, nullptr), &std::free);
            x = on_root->dst_x;
            y = on_root->dst_y;
            if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 16) {
                const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
                x -= static_cast<int>(v[0]);
                y -= static_cast<int>(v[2]);
            }
            known = true;
        }
    }
    xcb_disconnect(c);
    return known;
}

}  // namespace platform
