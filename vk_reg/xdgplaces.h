// Where the user's autostart entries and desktop lie, found as the XDG
// Base Directory and user-dirs conventions say.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vkreg {

// `path` without trailing '/' characters; "/" stays as it is.
std::string without_trailing_slashes(std::string path);

// $XDG_CONFIG_HOME when it is an absolute path, else home + "/.config".
std::string config_home(const std::string& home, const char* xdg_config_home);

// The value of XDG_DESKTOP_DIR in the text of a user-dirs.dirs file, with
// "$HOME" replaced by `home` and the shell quoting undone; nothing when the
// file does not set it in a form the convention allows ("$HOME/..." or an
// absolute path).  The last valid line counts.
std::optional<std::string> user_dirs_desktop(std::string_view file_text, const std::string& home);

// The desktop folder: XDG_DESKTOP_DIR of user-dirs.dirs, else home +
// "/Desktop".  Nothing when the user has turned the desktop folder off by
// setting it to the home folder itself.
std::optional<std::string> desktop_folder(const std::string& home, const std::optional<std::string>& user_dirs_text);

}  // namespace vkreg
