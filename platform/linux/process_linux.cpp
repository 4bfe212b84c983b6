// Starting programs, web addresses and the facts about the system on Linux.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace platform {

namespace {

// Runs argv detached: a short-lived child starts the program as a grandchild
// and exits at once, so nothing is left for this process to reap.  The
// grandchild reports a failed exec through a close-on-exec pipe.
bool spawn_detached(const std::vector<std::string>& args)
{
    if (args.empty())
        return false;
    int status_pipe[2];
    if (pipe2(status_pipe, O_CLOEXEC) != 0)
        return false;

    const pid_t child = fork();
    if (child < 0) {
        close(status_pipe[0]);
        close(status_pipe[1]);
        return false;
    }
    if (child == 0) {
        close(status_pipe[0]);
        if (fork() == 0) {
            setsid();
            std::vector<char*> argv;
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            const char failed = 1;
            [[maybe_unused]] auto w = write(status_pipe[1], &failed, 1);
        }
        _exit(0);
    }
    close(status_pipe[1]);
    int status = 0;
    waitpid(child, &status, 0);
    char failed = 0;
    const bool exec_failed = read(status_pipe[0], &failed, 1) == 1;
    close(status_pipe[0]);
    return !exec_failed;
}

}  // namespace

bool start_program(const std::string& path, const std::vector<std::string>& arguments, bool elevated)
{
    std::vector<std::string> args;
    if (elevated && geteuid() != 0)
        args.push_back("pkexec");
    args.push_back(path);
    args.insert(args.end(), arguments.begin(), arguments.end());
    return spawn_detached(args);
}

bool is_administrator() { return geteuid() == 0; }

std::string system_name()
{
    utsname info{};
    if (uname(&info) != 0)
        return "Linux";
    return std::string(info.sysname) + " " + info.release;
}

bool open_url(const std::string& url) { return spawn_detached({"xdg-open", url}); }

}  // namespace platform
