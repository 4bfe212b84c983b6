// Where the running executable lies, from the kernel's /proc link.
#include "platform/platform.h"

#include <string>
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

}  // namespace platform
