#include "vk_reg/setup.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "storage/settings.h"
#include "vk_reg/desktopentry.h"

namespace fs = std::filesystem;

namespace vkreg {

namespace {

constexpr fs::perms entry_perms =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
// A launcher on the desktop runs only when it is executable.
constexpr fs::perms launcher_perms =
    entry_perms | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

// An entry file as found: none, one of ours, or something else that stays.
struct Found {
    enum { none, ours, foreign, unreadable } state = none;
    std::string text;
    fs::perms perms = fs::perms::none;
};

Found look_at(const std::string& file)
{
    std::error_code ec;
    const fs::file_status link = fs::symlink_status(file, ec);
    if (!fs::exists(link))
        return {};
    const fs::file_status target = fs::status(file, ec);
    if (!fs::is_regular_file(target))
        return {Found::foreign, {}, {}};
    std::ifstream in(file, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in && !in.eof())
        return {Found::unreadable, {}, {}};
    if (!made_by_vk_reg(text))
        return {Found::foreign, {}, {}};
    return {Found::ours, std::move(text), target.permissions()};
}

std::string reason_of(const std::error_code& ec) { return ec.message(); }

void leave_foreign(const std::string& file, Report& report)
{
    report.notes.push_back("已有一个不是 vk_reg 创建的 " + file + "，未作改动。");
}

// Written beside its final name and renamed over it, so an entry is never
// found half-written.
void write_entry(const std::string& folder, const std::string& file, const std::string& text, fs::perms perms,
                 Report& report)
{
    const std::string temp = folder + "/.velkin.desktop.vk_reg-new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            report.errors.push_back("无法写入 " + file + "。");
            return;
        }
    }
    std::error_code ec;
    fs::permissions(temp, perms, fs::perm_options::replace, ec);
    if (!ec)
        fs::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        report.errors.push_back("无法写入 " + file + "：" + reason_of(ec));
    }
}

void want_entry(const std::string& folder, const std::string& text, fs::perms perms, Report& report)
{
    const std::string file = folder + "/" + entry_file_name;
    const Found found = look_at(file);
    switch (found.state) {
    case Found::foreign: leave_foreign(file, report); return;
    case Found::unreadable: report.errors.push_back("无法读取 " + file + "。"); return;
    case Found::ours:
        if (found.text == text && found.perms == perms)
            return;
        break;
    case Found::none: break;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        report.errors.push_back("无法创建文件夹 " + folder + "：" + reason_of(ec));
        return;
    }
    write_entry(folder, file, text, perms, report);
}

void unwant_entry(const std::string& folder, Report& report)
{
    const std::string file = folder + "/" + entry_file_name;
    const Found found = look_at(file);
    switch (found.state) {
    case Found::none: return;
    case Found::foreign: leave_foreign(file, report); return;
    case Found::unreadable: report.errors.push_back("无法读取 " + file + "。"); return;
    case Found::ours: break;
    }
    std::error_code ec;
    fs::remove(file, ec);
    if (ec)
        report.errors.push_back("无法删除 " + file + "：" + reason_of(ec));
}

bool is_executable_file(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

Wishes read_wishes(const std::string& settings_path)
{
    // A file that is there but cannot be read must not pass for the
    // defaults, which would make what the user may have turned off.
    std::error_code ec;
    if (fs::exists(settings_path, ec) && !std::ifstream(settings_path, std::ios::binary))
        throw std::runtime_error("无法读取设置文件 " + settings_path + "。");
    const Settings settings = read_settings(settings_path);
    return {settings.autorun == "1", settings.desktoplink == "1"};
}

Report set_up(const Wishes& wishes, const Places& places, const std::string& program_folder)
{
    Report report;
    const std::string program = program_folder + program_file_name;
    std::string icon = program_folder + icon_file_name;
    std::error_code ec;
    if (!fs::is_regular_file(icon, ec))
        icon.clear();

    // Both texts, or none when the entries could not start the program.
    std::optional<std::string> autostart, launcher;
    if (wishes.autorun || wishes.desktoplink) {
        if (!is_executable_file(program)) {
            report.errors.push_back("找不到可以运行的程序 " + program + "，开机启动项和桌面快捷方式未能创建。");
        } else {
            try {
                autostart = entry_text(EntryKind::autostart, program, icon);
                launcher = entry_text(EntryKind::launcher, program, icon);
            } catch (const std::invalid_argument&) {
                report.errors.push_back("程序的路径 " + program + " 含有控制字符，开机启动项和桌面快捷方式未能创建。");
            }
        }
    }

    if (!wishes.autorun)
        unwant_entry(places.autostart_folder, report);
    else if (autostart)
        want_entry(places.autostart_folder, *autostart, entry_perms, report);

    if (!places.desktop_folder) {
        if (wishes.desktoplink)
            report.notes.push_back("桌面文件夹已关闭（XDG_DESKTOP_DIR 是主文件夹），未创建桌面快捷方式。");
    } else if (!fs::is_directory(*places.desktop_folder, ec)) {
        if (wishes.desktoplink)
            report.notes.push_back("没有桌面文件夹 " + *places.desktop_folder + "，未创建桌面快捷方式。");
    } else if (!wishes.desktoplink) {
        unwant_entry(*places.desktop_folder, report);
    } else if (launcher) {
        want_entry(*places.desktop_folder, *launcher, launcher_perms, report);
    }
    return report;
}

}  // namespace vkreg
