#include "vk_reg/xdgplaces.h"

namespace vkreg {

namespace {

constexpr std::string_view desktop_key = "XDG_DESKTOP_DIR";

std::string_view skip_blanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The path of one line 'XDG_DESKTOP_DIR="..."', or nothing.
std::optional<std::string> desktop_of_line(std::string_view line, const std::string& home)
{
    line = skip_blanks(line);
    if (line.substr(0, desktop_key.size()) != desktop_key)
        return std::nullopt;
    line = skip_blanks(line.substr(desktop_key.size()));
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    line = skip_blanks(line.substr(1));
    if (line.empty() || line.front() != '"')
        return std::nullopt;
    line.remove_prefix(1);

    std::string path;
    constexpr std::string_view home_variable = "$HOME";
    if (line.substr(0, home_variable.size()) == home_variable) {
        line.remove_prefix(home_variable.size());
        if (line.empty() || (line.front() != '/' && line.front() != '"'))
            return std::nullopt;  // "$HOMEfoo" is no path under home
        path = home;
    } else if (line.empty() || line.front() != '/') {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            return without_trailing_slashes(path);
        if (line[i] == '\\' && i + 1 < line.size())
            ++i;
        path += line[i];
    }
    return std::nullopt;  // no closing quote
}

}  // namespace

std::string without_trailing_slashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string config_home(const std::string& home, const char* xdg_config_home)
{
    if (xdg_config_home && xdg_config_home[0] == '/')
        return without_trailing_slashes(xdg_config_home);
    return home + "/.config";
}

std::optional<std::string> user_dirs_desktop(std::string_view file_text, const std::string& home)
{
    std::optional<std::string> found;
    while (!file_text.empty()) {
        const auto end = file_text.find('\n');
        if (auto path = desktop_of_line(file_text.substr(0, end), home))
            found = std::move(path);
        file_text = end == std::string_view::npos ? std::string_view() : file_text.substr(end + 1);
    }
    return found;
}

std::optional<std::string> desktop_folder(const std::string& home, const std::optional<std::string>& user_dirs_text)
{
    std::optional<std::string> desktop;
    if (user_dirs_text)
        desktop = user_dirs_desktop(*user_dirs_text, home);
    if (!desktop)
        return home + "/Desktop";
    if (*desktop == without_trailing_slashes(home))
        return std::nullopt;
    return desktop;
}

}  // namespace vkreg
