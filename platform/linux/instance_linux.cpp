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
#include <map>
#include <string>

namespace platform {

namespace {
// Names this process holds, with their sockets, open until it ends.
std::map<std::string, int>& claimed_names()
{
    static std::map<std::string, int> names;
    return names;
}

std::string instance_id(std::string_view name) { return std::string(name) + "-" + std::to_string(getuid()); }

// The abstract address of an instance id; returns its length.
socklen_t abstract_address(const std::string& id, sockaddr_un& addr)
{
    addr = sockaddr_un{};
    addr.sun_family = AF_UNIX;
    const std::size_t len = std::min(id.size(), sizeof addr.sun_path - 1);
    std::memcpy(addr.sun_path + 1, id.data(), len);  // sun_path[0] == 0: abstract
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);
}

int listening_socket = -1;
}  // namespace

// The claim is a bound socket in the abstract namespace: binding is atomic,
// so two copies starting together cannot both succeed, and the kernel drops
// the name the moment the process ends, so a crash leaves no stale lock.
// The socket listens, so a second copy can connect to ask for the window.
bool claim_single_instance(std::string_view name)
{
    const std::string id = instance_id(name);
    if (claimed_names().count(id) != 0)
        return true;

    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return true;  // no way to tell: behave as the only instance

    sockaddr_un addr;
    const socklen_t addr_len = abstract_address(id, addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), addr_len) == 0) {
        listen(fd, 8);
        claimed_names()[id] = fd;  // deliberately kept open
        return true;
    }
    const int error = errno;
    close(fd);
    return error != EADDRINUSE;
}

bool ask_instance_to_show(std::string_view name)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr;
    const socklen_t addr_len = abstract_address(instance_id(name), addr);
    const char request = 's';
    const bool sent =
        connect(fd, reinterpret_cast<sockaddr*>(&addr), addr_len) == 0 && send(fd, &request, 1, MSG_NOSIGNAL) == 1;
    close(fd);
    return sent;
}

std::intptr_t watch_show_requests(std::string_view name)
{
    const auto found = claimed_names().find(instance_id(name));
    listening_socket = found == claimed_names().end() ? -1 : found->second;
    return listening_socket;
}

// Each connection is one request; only this user's own copies are heard.
bool take_show_requests()
{
    bool asked = false;
    for (;;) {
        const int peer = accept4(listening_socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0)
            return asked;
        ucred credentials{};
        socklen_t size = sizeof credentials;
        if (getsockopt(peer, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == getuid())
            asked = true;
        close(peer);
    }
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
