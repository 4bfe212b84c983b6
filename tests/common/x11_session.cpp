// x11_session PROGRAM [ARGUMENTS...]
// Runs a test program on a desktop of its own: a virtual X server on a free
// display (Xvfb picks it and tells it back), with the window manager
// openbox, so windows get frames, stacking and focus as on a real desktop.
// Waits for the server and the window manager with deadlines, runs the
// program with DISPLAY set, stops both and exits with the program's status.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto start_deadline = std::chrono::seconds(20);

int milliseconds_left(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

pid_t spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t* actions = nullptr)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

void stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// Starts Xvfb on the first free display; returns the display's number, or
// an empty text when the server did not come up in time.
std::string start_server(pid_t& server)
{
    int ready[2];
    if (pipe(ready) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    server = spawn({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                   &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);

    // The server writes the display's number and a line feed once it
    // accepts connections.
    std::string number;
    const auto deadline = Clock::now() + start_deadline;
    pollfd waiting{ready[0], POLLIN, 0};
    while (server > 0 && poll(&waiting, 1, milliseconds_left(deadline)) > 0) {
        char c = 0;
        if (read(ready[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(ready[0]);
    return number;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return a;
}

bool has_window_manager(xcb_connection_t* c, xcb_window_t root, xcb_atom_t check)
{
    auto* reply = xcb_get_property_reply(c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool present = reply && xcb_get_property_value_length(reply) == 4;
    free(reply);
    return present;
}

// Starts openbox and waits until it announces itself on the root window.
bool start_window_manager(pid_t& manager)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &events);
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    manager = spawn({"openbox", "--sm-disable"});

    // The property may change while a reply is read, its event then waits
    // in the connection's queue rather than on the socket: the queue is
    // emptied before waiting on the socket.
    const auto deadline = Clock::now() + start_deadline;
    bool ready = false;
    while (manager > 0 && milliseconds_left(deadline) > 0) {
        if ((ready = has_window_manager(c, root, check)))
            break;
        bool queued = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            free(event);
            queued = true;
        }
        pollfd waiting{xcb_get_file_descriptor(c), POLLIN, 0};
        if (!queued && poll(&waiting, 1, milliseconds_left(deadline)) <= 0)
            break;
    }
    xcb_disconnect(c);
    return ready;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: x11_session PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    pid_t server = -1;
    const std::string display = start_server(server);
    if (display.empty()) {
        std::fprintf(stderr, "x11_session: Xvfb did not start\n");
        stop(server);
        return 1;
    }
    setenv("DISPLAY", (":" + display).c_str(), 1);
    pid_t manager = -1;
    if (!start_window_manager(manager)) {
        std::fprintf(stderr, "x11_session: openbox did not take the screen\n");
        stop(manager);
        stop(server);
        return 1;
    }

    int status = 1;
    const pid_t program = spawn(std::vector<std::string>(argv + 1, argv + argc));
    if (program > 0)
        waitpid(program, &status, 0);
    else
        std::fprintf(stderr, "x11_session: cannot start %s\n", argv[1]);
    stop(manager);
    stop(server);
    if (program <= 0)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
