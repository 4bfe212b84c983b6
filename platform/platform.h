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

// GBK (code page 936) <-> UTF-8.  Bytes that cannot be converted become '?'.
std::string gbk_to_utf8(std::string_view gbk);
std::string utf8_to_gbk(std::string_view utf8);

}  // namespace platform
