// Single instance on Windows: a named mutex that the system releases when
// the process ends.  Session end arrives as a window message, which Qt turns
// into its session manager's commit request, so there is nothing to watch.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

namespace {
// An auto-reset event beside the mutex: a second copy signals it to ask
// for the window.
std::string show_event_name(std::string_view name) { return std::string(name) + "-show"; }
HANDLE show_event = nullptr;
}  // namespace

bool claim_single_instance(std::string_view name)
{
    const std::string id(name);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, id.c_str());  // held for the life of the process
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    if (show_event == nullptr)
        show_event = CreateEventA(nullptr, FALSE, FALSE, show_event_name(name).c_str());
    return true;
}

bool ask_instance_to_show(std::string_view name)
{
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, show_event_name(name).c_str());
    if (event == nullptr)
        return false;
    const bool sent = SetEvent(event) != 0;
    CloseHandle(event);
    return sent;
}

std::intptr_t watch_show_requests(std::string_view)
{
    return show_event ? reinterpret_cast<std::intptr_t>(show_event) : -1;
}

// The wait that saw the event signalled has reset it.
bool take_show_requests() { return true; }

int watch_session_end() { return -1; }

bool take_session_end_request() { return false; }

}  // namespace platform

namespace platform {

// A tool window has no taskbar button on Windows; nothing more to do.
void hide_from_taskbar(std::uintptr_t) { }

// Qt places a window by its frame on Windows already.
FrameExtents frame_extents(std::uintptr_t, void*) { return {}; }

bool is_frame_announcement(const void*, std::uintptr_t) { return false; }

bool pointer_position(int& x, int& y)
{
    POINT p;
    if (!GetCursorPos(&p))
        return false;
    x = p.x;
    y = p.y;
    return true;
}

bool frame_position(std::uintptr_t native_window, int& x, int& y)
{
    RECT r;
    if (!GetWindowRect(reinterpret_cast<HWND>(native_window), &r))
        return false;
    x = r.left;
    y = r.top;
    return true;
}

void place_window(std::uintptr_t native_window, int x, int y)
{
    SetWindowPos(reinterpret_cast<HWND>(native_window), nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Windows moves a window that is activated to the desktop in use.
void move_to_current_desktop(std::uintptr_t) { }

}  // namespace platform
