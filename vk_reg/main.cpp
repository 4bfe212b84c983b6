// vk_reg: sets up, for the user who runs it, what the settings file beside
// it asks for: the program's start at log-in (an XDG autostart entry) and a
// launcher on the desktop.  The main program starts it with one empty
// argument after the options change; it needs no other rights than the
// user's own.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>

#include "storage/paths.h"
#include "storage/settings.h"
#include "vk_reg/setup.h"
#include "vk_reg/xdgplaces.h"

namespace {

std::string home_folder()
{
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/')
        home = env;
    else if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
        home = user->pw_dir;
    return vkreg::without_trailing_slashes(home);
}

std::optional<std::string> file_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

vkreg::Places find_places(const std::string& home)
{
    const std::string config = vkreg::config_home(home, std::getenv("XDG_CONFIG_HOME"));
    return {config + "/autostart", vkreg::desktop_folder(home, file_text(config + "/user-dirs.dirs"))};
}

// The main program passes one empty argument; nothing else is taken.
bool arguments_fit(int argc, char** argv) { return argc == 1 || (argc == 2 && argv[1][0] == '\0'); }

}  // namespace

int main(int argc, char** argv)
{
    if (!arguments_fit(argc, argv)) {
        std::cerr << "vk_reg：不接受参数。它按同一文件夹中 vkset.vki 的 autorun 和 desktoplink 设置"
                     "开机启动项和桌面快捷方式。\n";
        return 2;
    }
    try {
        const std::string home = home_folder();
        if (home.empty()) {
            std::cerr << "vk_reg：找不到用户的主文件夹（HOME）。\n";
            return 1;
        }
        const vkreg::Wishes wishes = vkreg::read_wishes(settings_file_path());
        const vkreg::Report report = vkreg::set_up(wishes, find_places(home), program_folder());
        for (const auto& note : report.notes)
            std::cerr << "vk_reg：" << note << '\n';
        for (const auto& error : report.errors)
            std::cerr << "vk_reg：" << error << '\n';
        return report.errors.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "vk_reg：" << e.what() << '\n';
        return 1;
    }
}
