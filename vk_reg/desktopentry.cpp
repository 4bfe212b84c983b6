#include "vk_reg/desktopentry.h"

#include <stdexcept>

namespace vkreg {

namespace {

constexpr std::string_view group_header = "[Desktop Entry]";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string exec_argument(std::string_view program)
{
    std::string arg = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            arg += '\\';
        if (c == '%')
            arg += '%';
        arg += c;
    }
    arg += '"';
    return arg;
}

std::string escaped_string(std::string_view value)
{
    std::string out;
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            throw std::invalid_argument("a control character in \"" + std::string(value) + "\"");
        if (c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string entry_text(EntryKind kind, std::string_view program, std::string_view icon)
{
    std::string text = std::string(group_header) + "\n";
    text += "Type=Application\n";
    text += "Version=1.4\n";
    text += "Name=Velkin\n";
    text += "Comment=日历与计划管理\n";
    text += "Exec=" + escaped_string(exec_argument(program)) + "\n";
    text += "TryExec=" + escaped_string(program) + "\n";
    if (!icon.empty())
        text += "Icon=" + escaped_string(icon) + "\n";
    text += "Terminal=false\n";
    text += "Categories=Office;Calendar;\n";
    if (kind == EntryKind::autostart)
        text += "X-GNOME-Autostart-enabled=true\n";
    text += std::string(maker_key) + "=" + std::string(maker_value) + "\n";
    return text;
}

std::optional<std::string> entry_value(std::string_view file_text, std::string_view key)
{
    bool in_group = false;
    while (!file_text.empty()) {
        const auto end = file_text.find('\n');
        const std::string_view line = trimmed(file_text.substr(0, end));
        file_text = end == std::string_view::npos ? std::string_view() : file_text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            in_group = line == group_header;
            continue;
        }
        const auto equals = line.find('=');
        if (in_group && equals != std::string_view::npos && trimmed(line.substr(0, equals)) == key)
            return std::string(trimmed(line.substr(equals + 1)));
    }
    return std::nullopt;
}

bool made_by_vk_reg(std::string_view file_text) { return entry_value(file_text, maker_key) == maker_value; }

}  // namespace vkreg
