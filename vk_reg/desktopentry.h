// The desktop entries that vk_reg writes: the autostart entry and the
// launcher on the desktop, in freedesktop.org's desktop entry format, and
// recognised again by a key of their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vkreg {

enum class EntryKind { autostart, launcher };

// The key, and its value, that marks an entry as made by vk_reg.
inline constexpr std::string_view maker_key = "X-Velkin-Made-By";
inline constexpr std::string_view maker_value = "vk_reg";

// The program path as one argument of an Exec value, before the file's
// string escaping: between double quotes, with '"', '`', '$' and '\'
// escaped by a backslash, and '%' doubled since it starts a field code.
std::string exec_argument(std::string_view program);

// A value of type string as the file holds it: '\' written as "\\".
// Raises std::invalid_argument for control characters, which no path of
// ours may carry into a line-based file.
std::string escaped_string(std::string_view value);

// The whole entry.  `icon` may be empty: the entry then names none.
std::string entry_text(EntryKind kind, std::string_view program, std::string_view icon);

// The raw value of `key` in the group [Desktop Entry] of a file's text.
std::optional<std::string> entry_value(std::string_view file_text, std::string_view key);

// True when the file's text is an entry that vk_reg made.
bool made_by_vk_reg(std::string_view file_text);

}  // namespace vkreg
