// Where the running executable lies, from the kernel's /proc link.
#include "platform/platform.h"

#include <cerrno>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string executable_path()
{
    // readlink does not say whether it truncated, so grow until it fits.
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

char path_separator() noexcept { return '/'; }

bool is_read_only_file(const std::string& path)
{
    struct stat info { };
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // root passes every permission check, so only the mode bits tell.
    if (geteuid() == 0)
        return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

}  // namespace platform
