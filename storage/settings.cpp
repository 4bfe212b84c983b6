// The settings file vkset.vki and the Settings held in memory.
#include "storage/settings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "platform/platform.h"
#include "storage/ini.h"
#include "storage/paths.h"

namespace fs = std::filesystem;

Settings app_settings;

namespace {

constexpr const char* section = "option";

// The file's bytes, or nothing when there is no regular file to read.
std::optional<std::string> read_file(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void read_int(const IniDocument& doc, const char* key, int& target)
{
    if (auto text = doc.value(section, key))
        if (auto n = parse_profile_int(*text))
            target = *n;
}

void read_text(const IniDocument& doc, const char* key, std::string& target)
{
    if (auto text = doc.value(section, key))
        target = *text;
}

[[noreturn]] void unable_to_write(const std::string& path) { throw std::runtime_error("Unable to write to " + path); }

// Writes `bytes` beside `path` and renames the result over it, so the file
// is either the old one or the complete new one, never half of either.
void replace_file(const std::string& path, const std::string& bytes)
{
    // The rename would put a new, writable file in place of one the user
    // made read-only to pin the settings.
    if (platform::is_read_only_file(path))
        unable_to_write(path);
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            unable_to_write(path);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(fs::path(temp), ignored);
            unable_to_write(path);
        }
    }
    std::error_code ec;
    fs::rename(fs::path(temp), fs::path(path), ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(fs::path(temp), ignored);
        unable_to_write(path);
    }
}

}  // namespace

std::string settings_file_path() { return program_folder() + "vkset.vki"; }

Settings read_settings(const std::string& path)
{
    Settings s;
    auto bytes = read_file(path);
    if (!bytes)
        return s;
    const IniDocument doc(*bytes);
    read_int(doc, "pos_top", s.pos_top);
    read_int(doc, "pos_left", s.pos_left);
    read_int(doc, "form_blend", s.form_blend);
    read_text(doc, "desktoplink", s.desktoplink);
    read_text(doc, "autorun", s.autorun);
    read_text(doc, "note_fontname", s.note_fontname);
    read_text(doc, "note_fontcolor", s.note_fontcolor);
    read_int(doc, "note_fontsize", s.note_fontsize);
    read_text(doc, "taskhint_use", s.taskhint_use);
    read_int(doc, "taskhint_time", s.taskhint_time);
    return s;
}

void write_settings(const std::string& path, const Settings& s, int window_left, int window_top)
{
    IniDocument doc(read_file(path).value_or(std::string()));
    doc.set_value(section, "pos_top", std::to_string(window_top));
    doc.set_value(section, "pos_left", std::to_string(window_left));
    doc.set_value(section, "form_blend", std::to_string(s.form_blend));
    doc.set_value(section, "desktoplink", s.desktoplink);
    doc.set_value(section, "autorun", s.autorun);
    doc.set_value(section, "note_fontname", s.note_fontname);
    doc.set_value(section, "note_fontcolor", s.note_fontcolor);
    doc.set_value(section, "note_fontsize", std::to_string(s.note_fontsize));
    doc.set_value(section, "taskhint_use", s.taskhint_use);
    doc.set_value(section, "taskhint_time", std::to_string(s.taskhint_time));
    replace_file(path, doc.file_bytes());
}

void initapp_fromlocalset() { app_settings = read_settings(settings_file_path()); }

void save_local_vki(int window_left, int window_top)
{
    write_settings(settings_file_path(), app_settings, window_left, window_top);
}
