// Edge docking: the main window cannot be dragged off the primary screen;
// dragged against an edge it docks there, slides out of sight but for a
// 4-pixel strip while the pointer is elsewhere, and slides back in when the
// pointer touches the strip.  The arithmetic lives in small pure functions;
// EdgeDocking runs the pointer poll and the slide on the main window.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QTimer;
class WindowPlacement;

namespace docking {

// The edges of dock_edges, as bits.
enum Edge : int { edge_left = 1, edge_top = 2, edge_right = 4, edge_bottom = 8 };

// The values of slide_direction: in or out, at one edge.
enum Slide : int {
    no_slide = 0,
    in_left = 1,
    in_top = 2,
    in_right = 3,
    in_bottom = 4,
    out_left = 5,
    out_top = 6,
    out_right = 7,
    out_bottom = 8,
};

// What stays on the screen of a window slid out.
constexpr int strip = 4;
// Pixels per slide tick.
constexpr int horizontal_step = 30;
constexpr int vertical_step = 50;

// Where a window of `window` size that was moved to `position` must stand:
// wholly inside `screen`, the nearest place to where it was put.
QPoint clamp_to_screen(QPoint position, QSize window, QRect screen);

// The edges of `screen` that a window of `window` size at `position`
// touches, as a set of Edge bits; 0 when it touches none.
int edges_touched(QPoint position, QSize window, QRect screen);

// Whether the pointer is over the window whose frame is `frame`: strictly
// inside it, or on the window's own caption and border (`on_own_frame`).
bool pointer_over(QPoint pointer, QRect frame, bool on_own_frame);

// The slide the poll asks for, given the docked edges and whether the
// pointer is over the window: in when it is, out when it is not.  In a
// corner the later edge of the order left, top, right, bottom wins.
// no_slide when no edge is docked.
int slide_for(int dock_edges, bool pointer_is_over);

// One tick of a slide: the window's next position, and whether the slide
// has arrived (the position is then the slide's end).
struct SlideStep {
    QPoint position;
    bool arrived = false;
};
SlideStep slide_step(int slide, QPoint position, QSize window, QRect screen);

}  // namespace docking

class EdgeDocking : public QObject {
    Q_OBJECT

public:
    // Where the pointer is, in screen coordinates.
    using PointerSource = std::function<QPoint()>;

    // Docks the window that `placement` places.  `pointer` defaults to the
    // system's pointer.
    explicit EdgeDocking(WindowPlacement& placement, PointerSource pointer = {});

    int dock_edges() const { return dock_edges_; }
    int slide_direction() const { return slide_direction_; }

    // The window was moved, by the user or another program, to `position`:
    // it is brought back inside the primary screen, and docking is armed at
    // the edges it then touches, or disarmed when it touches none.
    void on_moving(QPoint position);
    // Starts the slide `direction` (a docking::Slide).
    void formhide(int direction);

private:
    void Timer1Timer();
    void Timer_formhideTimer();
    void poll();

    WindowPlacement& placement_;
    PointerSource pointer_;
    int dock_edges_ = 0;
    int slide_direction_ = docking::no_slide;
    // The pointer poll, and the slide step.
    QTimer* Timer1 = nullptr;
    QTimer* Timer_formhide = nullptr;
};
