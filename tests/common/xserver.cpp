#include "xserver.h"

#include <QProcess>
#include <QRegularExpression>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace testing {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto start_deadline = std::chrono::seconds(20);

// Starts `argv` with `environment` added; it ends with this process.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int keep_fd = -1)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (const auto& e : environment)
        putenv(strdup(e.c_str()));
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 1);
    dup2(null, 2);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (keep_fd >= 0)
        fcntl(keep_fd, F_SETFD, 0);
    execvp(args[0], args.data());
    _exit(127);
}

// fluxbox can hang in its own SIGTERM handler: what has not ended a moment
// after SIGTERM is killed.
void end(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid = -1;
}

using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return a;
}

std::vector<long> cardinals(xcb_connection_t* c, xcb_window_t w, const char* property)
{
    Reply reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, atom(c, property), XCB_ATOM_CARDINAL, 0, 16), nullptr),
        &std::free);
    std::vector<long> values;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
        for (int i = 0; i < xcb_get_property_value_length(reply.get()) / 4; ++i)
            values.push_back(static_cast<int32_t>(data[i]));
    }
    return values;
}

struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(c); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
};

bool manager_runs()
{
    Connection x;
    if (xcb_connection_has_error(x.c))
        return false;
    Reply reply(xcb_get_property_reply(
                    x.c,
                    xcb_get_property(x.c, 0, x.root(), atom(x.c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
                    nullptr),
                &std::free);
    return reply && xcb_get_property_value_length(reply.get()) == 4;
}

// No workspace switching at the screen's edge, no toolbar along it and no
// snapping to it: a window dragged there goes where the pointer takes it.
void write_fluxbox_settings(const std::string& home)
{
    std::filesystem::create_directories(home + "/.fluxbox");
    std::ofstream init(home + "/.fluxbox/init");
    init << "session.screen0.workspaces: 1\n"
            "session.screen0.workspacewarping: false\n"
            "session.screen0.toolbar.visible: false\n"
            "session.screen0.edgeSnapThreshold: 0\n"
            "session.screen0.opaqueMove: true\n";
}

}  // namespace

VirtualDisplay::~VirtualDisplay()
{
    end(manager_);
    end(server_);
    if (!home_.empty())
        std::filesystem::remove_all(home_);
}

std::string VirtualDisplay::start(int width, int height, const std::string& window_manager)
{
    // Xvfb picks a free display and writes its number into the pipe.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return "no pipe";
    server_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                     std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-noreset"},
                    {}, fds[1]);
    close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + start_deadline;
    while (Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char ch;
        if (read(fds[0], &ch, 1) != 1 || ch == '\n')
            break;
        number += ch;
    }
    close(fds[0]);
    if (number.empty())
        return "Xvfb did not start";
    setenv("DISPLAY", (":" + number).c_str(), 1);

    // The manager gets a home of its own: it may write its settings there.
    char home[] = "/tmp/velkin-wm-XXXXXX";
    if (!mkdtemp(home))
        return "no folder for the window manager";
    home_ = home;
    if (window_manager == "fluxbox")
        write_fluxbox_settings(home_);
    manager_ = spawn({window_manager}, {"HOME=" + home_, "XDG_CONFIG_HOME=" + home_, "XDG_CACHE_HOME=" + home_});
    while (Clock::now() < deadline) {
        if (manager_runs())
            return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return window_manager + " did not start";
}

QString run_tool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QRect frame_geometry(unsigned long window)
{
    Connection x;
    const auto w = static_cast<xcb_window_t>(window);
    auto* geometry = xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, w), nullptr);
    auto* on_root = xcb_translate_coordinates_reply(x.c, xcb_translate_coordinates(x.c, w, x.root(), 0, 0), nullptr);
    QRect frame;
    if (geometry && on_root) {
        frame = QRect(on_root->dst_x, on_root->dst_y, geometry->width, geometry->height);
        const std::vector<long> extents = cardinals(x.c, w, "_NET_FRAME_EXTENTS");  // left, right, top, bottom
        if (extents.size() == 4)
            frame.adjust(-extents[0], -extents[2], extents[1], extents[3]);
    }
    free(geometry);
    free(on_root);
    return frame;
}

QRect frame_by_xwininfo(unsigned long window, bool* framed)
{
    const QString text = run_tool("xwininfo", {"-id", QString::number(window), "-wm", "-stats"});
    const auto number = [&](const QString& label) {
        const auto match = QRegularExpression(label + QStringLiteral(":\\s+(-?\\d+)")).match(text);
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    };
    QRect frame(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"));
    const auto extents =
        QRegularExpression(QStringLiteral("Frame extents:\\s+(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)")).match(text);
    const QRect client = frame;
    if (extents.hasMatch())  // left, right, top, bottom
        frame.adjust(-extents.captured(1).toInt(), -extents.captured(3).toInt(), extents.captured(2).toInt(),
                     extents.captured(4).toInt());
    if (framed)
        *framed = frame != client;
    return frame;
}

bool is_viewable(unsigned long window)
{
    Connection x;
    auto* attributes = xcb_get_window_attributes_reply(
        x.c, xcb_get_window_attributes(x.c, static_cast<xcb_window_t>(window)), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    free(attributes);
    return viewable;
}

long desktop_of(unsigned long window)
{
    Connection x;
    const auto values = cardinals(x.c, static_cast<xcb_window_t>(window), "_NET_WM_DESKTOP");
    return values.empty() ? -1 : values[0];
}

long current_desktop()
{
    Connection x;
    const auto values = cardinals(x.c, x.root(), "_NET_CURRENT_DESKTOP");
    return values.empty() ? -1 : values[0];
}

}  // namespace testing
