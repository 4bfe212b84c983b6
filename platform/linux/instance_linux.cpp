// Single instance and session end on Linux.
#include "platform/platform.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <string>

namespace platform {

namespace {
// Names this process holds; their sockets stay open until it ends.
std::set<std::string>& claimed_names()
{
    static std::set<std::string> names;
    return names;
}
}  // namespace

// The claim is a bound socket in the abstract namespace: binding is atomic,
// so two copies starting together cannot both succeed, and the kernel drops
// the name the moment the process ends, so a crash leaves no stale lock.
bool claim_single_instance(std::string_view name)
{
    std::string id = std::string(name) + "-" + std::to_string(getuid());
    if (claimed_names().count(id) != 0)
        return true;

    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;  // no way to tell: behave as the only instance

    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::size_t len = std::min(id.size(), sizeof addr.sun_path - 1);
    std::memcpy(addr.sun_path + 1, id.data(), len);  // sun_path[0] == 0: abstract
    const auto addr_len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), addr_len) == 0) {
        claimed_names().insert(id);  // fd deliberately kept open
        return true;
    }
    const int error = errno;
    close(fd);
    return error != EADDRINUSE;
}

namespace {
int wake_pipe[2] = {-1, -1};
volatile std::sig_atomic_t end_requested = 0;

extern "C" void on_session_end_signal(int)
{
    end_requested = 1;
    const char byte = 1;
    [[maybe_unused]] auto written = write(wake_pipe[1], &byte, 1);
}
}  // namespace

int watch_session_end()
{
    if (wake_pipe[0] >= 0)
        return wake_pipe[0];
    if (pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action { };
    action.sa_handler = on_session_end_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        sigaction(sig, &action, nullptr);
    return wake_pipe[0];
}

bool take_session_end_request()
{
    char buffer[64];
    while (wake_pipe[0] >= 0 && read(wake_pipe[0], buffer, sizeof buffer) > 0) { }
    if (!end_requested)
        return false;
    end_requested = 0;
    return true;
}

}  // namespace platform
