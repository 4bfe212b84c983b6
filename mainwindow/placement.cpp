#include "mainwindow/placement.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/platform.h"

namespace {

// The window manager answers a move within this time; a move seen later
// is the user's.
constexpr qint64 answer_time_ms = 500;

int nearest_inside(int value, int low, int length, int extent)
{
    return std::max(low, std::min(value, low + length - extent));
}

}  // namespace

QPoint start_position(int left, int top, QSize outer, QRect screen)
{
    if (left < 0 || top < 0)
        left = top = 0;
    return {nearest_inside(left, screen.left(), screen.width(), outer.width()),
            nearest_inside(top, screen.top(), screen.height(), outer.height())};
}

WindowPlacement::WindowPlacement(QWidget& window) : QObject(&window), window_(window)
{
    clock_.start();
    window_.installEventFilter(this);
    if (on_x11())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

void WindowPlacement::apply_opacity(int form_blend)
{
    window_.setWindowOpacity(std::clamp(form_blend, 30, 255) / 255.0);
}

bool WindowPlacement::on_x11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

QRect WindowPlacement::primary_screen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, outer_width, outer_height);
}

void WindowPlacement::place_at_start(int left, int top)
{
    move_to(start_position(left, top, outer_size(), primary_screen()));
}

void WindowPlacement::move_to(QPoint position)
{
    logical_position_ = position;
    remember_request(position);
    window_.winId();
    if (!frame_known_) {
        // Before the window is first shown Qt does not know its frame:
        // the window manager tells it, and the window is placed by the
        // client's corner inside that frame, size and all.
        // The manager frames a window that cannot be resized differently.
        window_.setFixedSize(outer_size());
        platform::FrameExtents frame;
        if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
            frame = platform::frame_extents(static_cast<std::uintptr_t>(window_.winId()), x11->connection());
        const QPoint client = position + QPoint(frame.left, frame.top);
        window_.setFixedSize(outer_width - frame.left - frame.right, outer_height - frame.top - frame.bottom);
        window_.move(client);
        // Asked for even where the window seems to be there already.
        window_.windowHandle()->setPosition(client);
        return;
    }
    move_frame(position);
}

// On X11 the client's place is asked for, the frame's corner worked out
// from the frame the window manager announces: Qt's own idea of the frame
// may be a pixel off, or still empty, under a manager that draws its frame
// late.  Elsewhere the toolkit knows the frame and places it.
void WindowPlacement::move_frame(QPoint position)
{
    if (!on_x11()) {
        window_.windowHandle()->setFramePosition(position);
        return;
    }
    const QMargins frame = frame_margins();
    window_.windowHandle()->setPosition(position + QPoint(frame.left(), frame.top()));
}

QMargins WindowPlacement::frame_margins() const
{
    if (frame_announced_)
        return announced_frame_;
    return window_.windowHandle() ? window_.windowHandle()->frameMargins() : QMargins();
}

QRect WindowPlacement::frame_geometry() const { return window_.geometry().marginsAdded(frame_margins()); }

bool WindowPlacement::on_frame(QPoint point) const
{
    return frame_geometry().contains(point) && !window_.geometry().contains(point);
}

void WindowPlacement::keep_outer_size()
{
    const QMargins margins = frame_margins();
    if (window_.isVisible() && !margins.isNull())
        frame_known_ = true;
    if (!frame_known_)
        return;
    const QSize frame_extra(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QSize client(outer_width - frame_extra.width(), outer_height - frame_extra.height());
    if (window_.size() != client || window_.minimumSize() != client || window_.maximumSize() != client)
        window_.setFixedSize(client);
}

// Asked of the window system where it can tell: the toolkit learns of a
// move by the window manager only when the manager reports it.
QPoint WindowPlacement::position() const
{
    int x = 0, y = 0;
    if (window_.isVisible() && on_x11() && platform::frame_position(static_cast<std::uintptr_t>(window_.winId()), x, y))
        return {x, y};
    return window_.frameGeometry().topLeft();
}

void WindowPlacement::bring_to_front()
{
    if (on_x11())
        platform::move_to_current_desktop(static_cast<std::uintptr_t>(window_.winId()));
    if (window_.isMinimized())
        restore();
    window_.raise();
    window_.activateWindow();
}

// A window manager may map a restored window at a place of its choosing;
// once shown again it is put back where it was.
void WindowPlacement::restore()
{
    restore_to_ = logical_position_;
    restoring_ = true;
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
}

void WindowPlacement::put_back()
{
    restoring_ = false;
    const QMargins frame = frame_margins();
    const QPoint client = restore_to_ + QPoint(frame.left(), frame.top());
    logical_position_ = restore_to_;
    remember_request(restore_to_);
    platform::place_window(static_cast<std::uintptr_t>(window_.winId()), client.x(), client.y());
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_) {
        switch (event->type()) {
        case QEvent::Move: on_moved(event->spontaneous()); break;
        case QEvent::Resize: keep_outer_size(); break;
        case QEvent::Show: keep_outer_size(); break;
        // The first paint follows the mapping, when the real frame is known.
        case QEvent::Paint:
            if (!frame_known_)
                keep_outer_size();
            break;
        case QEvent::WindowStateChange: on_state_changed(); break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// A manager that frames the window only once it is shown (fluxbox) tells
// its frame in _NET_FRAME_EXTENTS after the window was placed by a frame
// it did not know: the outer size and the frame's corner follow.
bool WindowPlacement::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*)
{
    if (event_type == "xcb_generic_event_t" && window_.internalWinId() &&
        platform::is_frame_announcement(message, static_cast<std::uintptr_t>(window_.internalWinId())))
        QTimer::singleShot(0, this, &WindowPlacement::on_frame_announced);
    return false;
}

void WindowPlacement::on_frame_announced()
{
    const platform::FrameExtents frame = platform::frame_extents(static_cast<std::uintptr_t>(window_.winId()), nullptr);
    announced_frame_ = QMargins(frame.left, frame.top, frame.right, frame.bottom);
    frame_announced_ = true;
    if (!window_.isVisible())
        return;
    keep_outer_size();
    if (frame_known_ && position() != logical_position_)
        move_to(logical_position_);
}

void WindowPlacement::on_moved(bool from_window_system)
{
    // The frame may have just become known.
    keep_outer_size();
    // Qt's own report of a move the program asked for.
    if (!window_.isVisible() || !from_window_system)
        return;
    const QPoint now = position();
    if (is_own_move(now))
        return;
    logical_position_ = now;
    emit moved_by_user(now);
}

void WindowPlacement::remember_request(QPoint position)
{
    forget_answered_requests();
    requests_.push_back({position, clock_.elapsed()});
}

void WindowPlacement::forget_answered_requests()
{
    const qint64 oldest = clock_.elapsed() - answer_time_ms;
    std::erase_if(requests_, [&](const Request& r) { return r.asked_at < oldest; });
}

// The window manager's answer to a move the program asked for lately: the
// position asked for, or a place the manager chose instead of one partly
// off the screen (a manager may keep part of a window on the screen),
// unless the pointer holds the window there: then the user drags it.
bool WindowPlacement::is_own_move(QPoint position)
{
    forget_answered_requests();
    bool off_screen_asked = false;
    for (const Request& r : requests_) {
        if (r.position == position)
            return true;
        off_screen_asked = off_screen_asked || !primary_screen().contains(QRect(r.position, outer_size()));
    }
    return off_screen_asked && !QRect(position, outer_size()).contains(QCursor::pos());
}

// The window has no taskbar button to come back from: a window manager
// that minimises it anyway sees it restored at once.
void WindowPlacement::on_state_changed()
{
    const bool minimised = window_.windowState().testFlag(Qt::WindowMinimized);
    if (minimised && !restoring_)
        QTimer::singleShot(0, this, &WindowPlacement::bring_to_front);
    else if (!minimised && restoring_)
        put_back();
}
