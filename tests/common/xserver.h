// A virtual X server with a window manager, for the tests that need real
// windows: frames, placement, stacking, docking.  Each test program starts
// its own on a display Xvfb picks, so test runs never meet.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <string>
#include <sys/types.h>

namespace testing {

class VirtualDisplay {
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    // Ends the window manager and the server.
    ~VirtualDisplay();

    // Starts Xvfb with one screen of `width` x `height`, then
    // `window_manager` ("openbox" or "fluxbox"), and waits until the
    // manager runs.  Sets DISPLAY for this process and the programs it
    // starts.  Returns an empty text, or what went wrong.  fluxbox keeps
    // one workspace, no toolbar and no edge snapping, and moves windows
    // while they are dragged.
    std::string start(int width, int height, const std::string& window_manager);

private:
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string home_;
};

// Runs a program (xdotool, xwininfo) to its end; its standard output.
QString run_tool(const QString& program, const QStringList& arguments);

// The geometry of the frame around the client window `window`, as the X
// server has it: the client's place on the root window widened by the
// frame extents the window manager announces.
QRect frame_geometry(unsigned long window);

// The same, as xwininfo tells it: the client's corner and size, widened
// by the frame extents the window manager announces.  `framed` tells
// whether the manager has announced a frame yet.
QRect frame_by_xwininfo(unsigned long window, bool* framed = nullptr);

// The window's map state and desktop as the window manager has them.
bool is_viewable(unsigned long window);
long desktop_of(unsigned long window);
long current_desktop();

}  // namespace testing
