// x11_session PROGRAM [ARGUMENTS...]
// Runs a test program on a desktop of its own: a virtual X server on a free
// display with the window manager openbox (VirtualDisplay, which waits for
// both with deadlines), then the program with DISPLAY set.  Stops both and
// exits with the program's status.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "xserver.h"

extern char** environ;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: x11_session PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    testing::VirtualDisplay display;
    const std::string trouble = display.start(1280, 1024, "openbox");
    if (!trouble.empty()) {
        std::fprintf(stderr, "x11_session: %s\n", trouble.c_str());
        return 1;
    }
    pid_t program = -1;
    if (posix_spawnp(&program, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::fprintf(stderr, "x11_session: cannot start %s\n", argv[1]);
        return 1;
    }
    int status = 1;
    waitpid(program, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
