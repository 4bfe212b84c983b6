// What the operating system gives the program, behind one small interface.
// One implementation per system lives beneath this folder; the rest of the
// program does not know which one it runs on.  Standard C++ only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Full path of the running executable, UTF-8.
std::string executable_path();

// The path separator of this system ('/' or '\\').
char path_separator() noexcept;

// True when the file at `path` exists and is marked read-only: no write
// permission for this user, or, for the administrator who may write
// anything, no write permission for anyone.  A user pins a file that way.
bool is_read_only_file(const std::string& path);

// Claims the session-wide instance name.  Returns true when this process is
// the only instance.  The claim lasts until the process ends, however it
// ends; two copies starting at the same moment cannot both win.
bool claim_single_instance(std::string_view name);

// Asks the copy that holds `name` to bring its window to the front.
// Returns true when the request was delivered.
bool ask_instance_to_show(std::string_view name);
// What becomes ready when another copy asks this one to show its window,
// once this process holds `name`: a file descriptor that turns readable
// (POSIX) or an event handle that is signalled (Windows); -1 when none.
std::intptr_t watch_show_requests(std::string_view name);
// True when at least one request to show is pending; takes them all.
bool take_show_requests();

// Starts watching for the end of the session (SIGTERM, SIGHUP and SIGINT on
// POSIX).  Returns a file descriptor that becomes readable when such a
// request is pending, so the event loop can watch it, or -1 where the system
// delivers the request another way.  Nothing runs inside a signal handler.
int watch_session_end();
// True once for each pending session-end request; clears it.
bool take_session_end_request();

// Starts a program with arguments, without waiting for it; `elevated` asks
// for administrator rights where the system has such a thing.  Returns false
// when it could not be started.
bool start_program(const std::string& path, const std::vector<std::string>& arguments, bool elevated);
bool is_administrator();
std::string system_name();  // e.g. "Linux 6.1" or "Windows 10"
bool open_url(const std::string& url);

// Marks a top-level window, before it is first shown, as one that the
// taskbar and the pager leave out.  `native_window` is the window's system
// handle; where the system keeps no such mark, nothing happens.
void hide_from_taskbar(std::uintptr_t native_window);

// The widths of the frame the window manager puts around a top-level
// window: known before the window is first shown, so it can be placed by
// its frame from the start.  All zero where the system does not tell.
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};
// `toolkit_connection` is the toolkit's own connection to the display
// (xcb_connection_t* on X11), flushed first so the manager sees the
// window's size hints as they are now; null where there is none.
FrameExtents frame_extents(std::uintptr_t native_window, void* toolkit_connection);

// Where the frame of a top-level window is now, as the window system has
// it: its top-left corner, or false where the system does not tell.
bool frame_position(std::uintptr_t native_window, int& x, int& y);

// Asks the window manager to put the client area of a top-level window at
// (x, y) of the screen, whatever the toolkit believes its place to be.
void place_window(std::uintptr_t native_window, int x, int y);

// Puts a top-level window on the desktop (workspace) the user is on now,
// where the system has several; nothing happens where it has one.
void move_to_current_desktop(std::uintptr_t native_window);

// GBK (code page 936) <-> UTF-8.  Bytes that cannot be converted become '?'.
std::string gbk_to_utf8(std::string_view gbk);
std::string utf8_to_gbk(std::string_view utf8);

}  // namespace platform
