// The program's folder.
#include "storage/paths.h"

#include "platform/platform.h"

namespace {

std::string folder_storage;

std::string with_trailing_separator(std::string folder)
{
    const char sep = platform::path_separator();
    if (folder.empty() || folder.back() != sep)
        folder.push_back(sep);
    return folder;
}

std::string executable_folder()
{
    std::string exe = platform::executable_path();
    std::size_t cut = exe.find_last_of(platform::path_separator());
    return cut == std::string::npos ? std::string() : exe.substr(0, cut);
}

}  // namespace

const std::string& program_folder()
{
    // Tools that never run initvar still get the executable's folder.
    if (folder_storage.empty())
        folder_storage = with_trailing_separator(executable_folder());
    return folder_storage;
}

void set_program_folder(const std::string& folder) { folder_storage = with_trailing_separator(folder); }

void initvar() { set_program_folder(executable_folder()); }
