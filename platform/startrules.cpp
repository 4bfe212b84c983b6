#include "platform/startrules.h"

#include <algorithm>

namespace platform::rules {

namespace {

std::string without_blanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

std::string nt_name(unsigned major, unsigned minor)
{
    if (major == 3)
        return "osNT3";
    if (major == 4)
        return "osNT4";
    if (major == 5)
        return minor == 1 ? "osXP" : "os2K";
    return unknown_version;
}

std::string family95_name(const WindowsVersion& v)
{
    if (v.major != 4)
        return unknown_version;
    const std::string pack = without_blanks(v.service_pack);
    switch (v.minor) {
    case 0: return pack == "B" ? "os95OSR2" : "os95";
    case 10: return pack == "A" ? "os98SE" : "os98";
    case 90: return "osME";
    default: return unknown_version;
    }
}

// Says which program failed and what did not happen because of it.
std::string naming(const std::string& path) { return "“" + std::string(file_name_of(path)) + "”：" + path; }

constexpr const char* not_set_up = "开机启动和桌面快捷方式未能设置。";

}  // namespace

std::string os_name_of(const WindowsVersion& version)
{
    return version.nt_family ? nt_name(version.major, version.minor) : family95_name(version);
}

StartWay start_way(std::string_view version, bool (*is_administrator)())
{
    if (version == unknown_version)
        return StartWay::elevated;
    return is_administrator() ? StartWay::plain : StartWay::notice_then_elevated;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string lower_ascii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view file_name_of(std::string_view path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string missing_program_message(const std::string& path) { return "找不到程序" + naming(path) + "\n" + not_set_up; }

std::string start_failed_message(const std::string& path, const std::string& reason)
{
    return "无法启动程序" + naming(path) + "\n" + reason + "\n" + not_set_up;
}

std::string system_error_message(unsigned long code, const std::string& system_text)
{
    return "System Error.  Code: " + std::to_string(code) + ".\n" + system_text;
}

}  // namespace platform::rules
