// What the operating system gives the program, behind one small interface.
// One implementation per system lives beneath this folder; the rest of the
// program does not know which one it runs on.  Standard C++ only.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

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

// ---- Starting the program that sets up autorun and the desktop shortcut

// A program could not be started.  The text names it and is shown as it is.
class StartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The version name that decides how a program is started: on Windows one of
// "osNT3", "osNT4", "os2K", "osXP", "os95", "os95OSR2", "os98", "os98SE",
// "osME" or "osUnknown" (every Windows after XP); "osLinux" on Linux.
std::string os_name();

// True when the current user belongs to the built-in Administrators group
// (Windows) or is root.
bool is_administrator();

// The value of `key` in `section` (both looked up in lower case) of the
// INI-text language file folder + "ks_lanset.dll"; the empty text when the
// key is missing.  On Windows a missing file shows the box "File
// ks_lanset.dll not found!" first.  Other systems have no language file and
// always give the empty text.
std::string lang_text(const std::string& folder, const std::string& section, const std::string& key);

// Starts the program at `path` with the one `argument` and does not wait for
// it.  On Windows `version` (an os_name) decides whether it is started as
// it is, as an administrator, or after a notice from the language file in
// `folder` as another user; `owner` is the native handle of the owning
// window, or 0.  On Linux the start is plain: what it sets up are the user's
// own files.  Raises StartError when the program cannot be started.
void start_program(const std::string& folder, std::uintptr_t owner, const std::string& path,
                   const std::string& argument, const std::string& version);

// The file name of the autorun and shortcut program in the program folder.
const char* vk_reg_file_name() noexcept;

// Starts folder + vk_reg_file_name() with the one empty argument.  Raises
// StartError naming the program when it is missing or cannot be started.
void regautoandlink(const std::string& folder);

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

// True when `native_event`, an event as the toolkit's native event filter
// hands it over (xcb_generic_event_t* on X11), tells that the window
// manager announced a new frame for `native_window`: a manager may draw the
// frame only once the window is shown.  Always false where the toolkit
// knows the frame itself.
bool is_frame_announcement(const void* native_event, std::uintptr_t native_window);

// Where the pointer is on the screen, in the window system's pixels; false
// where it cannot tell.  Asked on a connection of its own that stays open
// and asks the server again only once the pointer may have moved, so a
// caller may ask a hundred times a second at little cost.
bool pointer_position(int& x, int& y);

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
