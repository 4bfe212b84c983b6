// The executable's path on Windows.
#include "platform/platform.h"
#include "platform/windows/codepage.h"

namespace platform {

std::string executable_path()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(n);
    return windows::narrow(path);
}

char path_separator() noexcept { return '\\'; }

bool is_read_only_file(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(windows::widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace platform
