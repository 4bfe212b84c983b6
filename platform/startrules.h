// The parts of starting the autorun and shortcut program that need no
// system call: the naming of Windows versions, the choice between a plain
// and an elevated start, the quoting, and the messages.  Every system's
// implementation uses them, and they are tested on every system.
#pragma once

#include <string>
#include <string_view>

namespace platform::rules {

// What GetVersionEx reports.
struct WindowsVersion {
    bool nt_family = false;  // the platform identifier is VER_PLATFORM_WIN32_NT
    unsigned major = 0;
    unsigned minor = 0;
    std::string service_pack;  // szCSDVersion
};

inline constexpr const char* unknown_version = "osUnknown";

// The version's name; every NT version from 6 (Vista) on is "osUnknown".
std::string os_name_of(const WindowsVersion& version);

enum class StartWay {
    plain,  // through the shell's "open"
    notice_then_elevated,  // the language file's notice, then "runas"
    elevated,  // "runas" at once
};

// Any Windows after XP starts elevated without asking who the user is;
// otherwise an administrator starts plainly and anybody else after the
// notice.  `is_administrator` is asked only when it decides.
StartWay start_way(std::string_view version, bool (*is_administrator)());

// The text between double-quote characters, as the shell takes a path or an
// argument: the empty argument becomes exactly two of them.
std::string quoted(std::string_view text);

// ASCII letters in lower case; other bytes (UTF-8 included) unchanged.
std::string lower_ascii(std::string_view text);

// The last component of a path with either separator.
std::string_view file_name_of(std::string_view path);

std::string missing_program_message(const std::string& path);
std::string start_failed_message(const std::string& path, const std::string& reason);
// "System Error.  Code: <code>." and a line break before the system's text.
std::string system_error_message(unsigned long code, const std::string& system_text);

}  // namespace platform::rules
