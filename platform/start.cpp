// regautoandlink: the start of the autorun and shortcut program, the same
// on every system.
#include "platform/platform.h"

#include <filesystem>
#include <system_error>

#include "platform/startrules.h"

namespace platform {

void regautoandlink(const std::string& folder)
{
    const std::string path = folder + vk_reg_file_name();
    // A missing program is named plainly instead of in the shell's words.
    std::error_code ec;
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    if (!std::filesystem::is_regular_file(file, ec))
        throw StartError(rules::missing_program_message(path));
    start_program(folder, 0, path, std::string(), os_name());
}

}  // namespace platform
