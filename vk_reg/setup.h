// What vk_reg does: makes or removes the autostart entry and the launcher
// on the desktop, as the settings file wishes, touching only entries that
// it made itself.  Running it again with the same wishes changes nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vkreg {

inline constexpr const char* entry_file_name = "velkin.desktop";
inline constexpr const char* program_file_name = "velkin";
inline constexpr const char* icon_file_name = "velkin.png";

// A wish is on exactly when its setting is "1", as the options dialog's
// check boxes show it.
struct Wishes {
    bool autorun = true;
    bool desktoplink = true;
};
Wishes read_wishes(const std::string& settings_path);

struct Places {
    std::string autostart_folder;
    std::optional<std::string> desktop_folder;  // nothing: turned off by the user
};

// What one run has to tell: notes go to standard error, and any error makes
// the exit code non-zero.
struct Report {
    std::vector<std::string> notes;
    std::vector<std::string> errors;
};

// Brings both entries in line with the wishes for the copy of the program
// in `program_folder` (with a trailing '/').
Report set_up(const Wishes& wishes, const Places& places, const std::string& program_folder);

}  // namespace vkreg
