// Starting programs and the facts about the system on Linux.  Autostart
// entries and launchers are the user's own files, so nothing asks for
// other rights and there is no notice to read.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/startrules.h"

namespace platform {

namespace {

// Runs argv detached: a short-lived child starts the program as a grandchild
// and exits at once, so nothing is left for this process to reap.  The
// grandchild reports a failed exec's errno through a close-on-exec pipe.
// Returns 0 when the program runs, else the errno of the failure.
int spawn_detached(const std::vector<std::string>& args)
{
    // Built before the fork: the children may only make async-signal-safe calls.
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int status_pipe[2];
    if (pipe2(status_pipe, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(status_pipe[0]);
        close(status_pipe[1]);
        return error;
    }
    if (child == 0) {
        close(status_pipe[0]);
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            execv(argv[0], argv.data());
        }
        if (grandchild <= 0) {  // the exec or the second fork failed
            const int error = errno;
            [[maybe_unused]] auto w = write(status_pipe[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(status_pipe[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    int error = 0;
    ssize_t n = 0;
    while ((n = read(status_pipe[0], &error, sizeof error)) < 0 && errno == EINTR) { }
    close(status_pipe[0]);
    return n == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace

std::string os_name() { return "osLinux"; }

bool is_administrator() { return geteuid() == 0; }

std::string lang_text(const std::string&, const std::string&, const std::string&) { return {}; }

void start_program(const std::string&, std::uintptr_t, const std::string& path, const std::string& argument,
                   const std::string&)
{
    if (const int error = spawn_detached({path, argument}); error != 0)
        throw StartError(rules::start_failed_message(path, std::strerror(error)));
}

const char* vk_reg_file_name() noexcept { return "vk_reg"; }

}  // namespace platform
