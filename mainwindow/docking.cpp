#include "mainwindow/docking.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "mainwindow/placement.h"
#include "platform/platform.h"

namespace docking {

QPoint clamp_to_screen(QPoint position, QSize window, QRect screen)
{
    const int right = screen.x() + screen.width(), bottom = screen.y() + screen.height();
    return {std::min(std::max(position.x(), screen.x()), right - window.width()),
            std::min(std::max(position.y(), screen.y()), bottom - window.height())};
}

int edges_touched(QPoint position, QSize window, QRect screen)
{
    int edges = 0;
    if (position.x() == screen.x())
        edges |= edge_left;
    if (position.x() + window.width() == screen.x() + screen.width())
        edges |= edge_right;
    if (position.y() == screen.y())
        edges |= edge_top;
    if (position.y() + window.height() == screen.y() + screen.height())
        edges |= edge_bottom;
    return edges;
}

bool pointer_over(QPoint pointer, QRect frame, bool on_own_frame)
{
    const int left = frame.x(), top = frame.y();
    return on_own_frame || (left < pointer.x() && pointer.x() < left + frame.width() && top < pointer.y() &&
                            pointer.y() < top + frame.height());
}

int slide_for(int dock_edges, bool pointer_is_over)
{
    const int out = pointer_is_over ? 0 : out_left - in_left;
    int slide = no_slide;
    if (dock_edges & edge_left)
        slide = in_left + out;
    if (dock_edges & edge_top)
        slide = in_top + out;
    if (dock_edges & edge_right)
        slide = in_right + out;
    if (dock_edges & edge_bottom)
        slide = in_bottom + out;
    return slide;
}

namespace {

// One axis of a slide: moves by `step` while `moving` holds, else ends at `end`.
SlideStep along(QPoint position, bool horizontal, bool moving, int step, int end)
{
    int& value = horizontal ? position.rx() : position.ry();
    value = moving ? value + step : end;
    return {position, !moving};
}

}  // namespace

SlideStep slide_step(int slide, QPoint position, QSize window, QRect screen)
{
    const int left = screen.x(), top = screen.y();
    const int right = left + screen.width(), bottom = top + screen.height();
    const int x = position.x(), y = position.y();
    const int w = window.width(), h = window.height();
    constexpr int dx = horizontal_step, dy = vertical_step;
    switch (slide) {
    case in_left: return along(position, true, x < left, dx, left);
    case in_top: return along(position, false, y < top, dy, top);
    case in_right: return along(position, true, x > right - w, -dx, right - w);
    case in_bottom: return along(position, false, y > bottom - h, -dy, bottom - h);
    case out_left: return along(position, true, x > left + strip - w, -dx, left + strip - w);
    case out_top: return along(position, false, y > top + strip - h, -dy, top + strip - h);
    case out_right: return along(position, true, x < right - strip, dx, right - strip);
    case out_bottom: return along(position, false, y < bottom - strip, dy, bottom - strip);
    default: return {position, true};
    }
}

}  // namespace docking

namespace {

// Asked of the window system on a connection of its own: through Qt's the
// question wakes Qt's event reader too, which made up most of what the
// docked window at rest costs.
QPoint system_pointer()
{
    int x = 0, y = 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (WindowPlacement::on_x11() && screen && screen->devicePixelRatio() == 1.0 && platform::pointer_position(x, y))
        return {x, y};
    return QCursor::pos();
}

}  // namespace

EdgeDocking::EdgeDocking(WindowPlacement& placement, PointerSource pointer)
    : QObject(&placement), placement_(placement), pointer_(std::move(pointer))
{
    if (!pointer_)
        pointer_ = system_pointer;
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &EdgeDocking::Timer1Timer);
    Timer_formhide = new QTimer(this);
    Timer_formhide->setObjectName(QStringLiteral("Timer_formhide"));
    Timer_formhide->setInterval(5);
    connect(Timer_formhide, &QTimer::timeout, this, &EdgeDocking::Timer_formhideTimer);
    connect(&placement_, &WindowPlacement::moved_by_user, this, &EdgeDocking::on_moving);
}

void EdgeDocking::on_moving(QPoint position)
{
    const QRect screen = WindowPlacement::primary_screen();
    const QSize size = WindowPlacement::outer_size();
    const QPoint inside = docking::clamp_to_screen(position, size, screen);
    // The user has taken hold of the window: a slide under way would pull
    // it back to where it was.
    Timer_formhide->stop();
    if (inside != position)
        placement_.move_to(inside);
    dock_edges_ = docking::edges_touched(inside, size, screen);
    if (dock_edges_ != 0)
        Timer1->start();
    else
        Timer1->stop();
}

// The poll runs a hundred times a second: an error in it is dropped, never
// shown.
void EdgeDocking::Timer1Timer()
{
    try {
        poll();
    } catch (...) {
    }
}

void EdgeDocking::poll()
{
    const QPoint pointer = pointer_();
    const bool over = docking::pointer_over(pointer, placement_.frame_geometry(), placement_.on_frame(pointer));
    const int slide = docking::slide_for(dock_edges_, over);
    if (slide != docking::no_slide)
        formhide(slide);
}

void EdgeDocking::formhide(int direction)
{
    slide_direction_ = direction;
    if (!Timer_formhide->isActive())
        Timer_formhide->start();
}

// Goes by the positions the slide asked for, not by where the window
// manager put the window: a manager that keeps a window partly on the
// screen cannot keep a slide from arriving.
void EdgeDocking::Timer_formhideTimer()
{
    Timer1->stop();
    const QPoint from = placement_.logical_position();
    const docking::SlideStep step =
        docking::slide_step(slide_direction_, from, WindowPlacement::outer_size(), WindowPlacement::primary_screen());
    if (step.arrived) {
        Timer_formhide->stop();
        Timer1->start();
    }
    // A window already at the slide's end is left alone, unmoved and
    // unpainted: the docked window at rest costs next to nothing.
    if (step.position != from)
        placement_.move_to(step.position);
}
