#include "mainwindow/placement.h"

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
    window_.installEventFilter(this);
}

void WindowPlacement::apply_opacity(int form_blend)
{
    window_.setWindowOpacity(std::clamp(form_blend, 30, 255) / 255.0);
}

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
    if (position != this->position()) {
        awaiting_answer_ = true;
        asked_.start();
    }
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
    window_.move(position);
}

void WindowPlacement::keep_outer_size()
{
    const QMargins margins = window_.windowHandle() ? window_.windowHandle()->frameMargins() : QMargins();
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
    if (window_.isVisible() && QGuiApplication::platformName() == QLatin1String("xcb") &&
        platform::frame_position(static_cast<std::uintptr_t>(window_.winId()), x, y))
        return {x, y};
    return window_.frameGeometry().topLeft();
}

void WindowPlacement::bring_to_front()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
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
    const QMargins frame = window_.windowHandle()->frameMargins();
    const QPoint client = restore_to_ + QPoint(frame.left(), frame.top());
    logical_position_ = restore_to_;
    platform::place_window(static_cast<std::uintptr_t>(window_.winId()), client.x(), client.y());
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_) {
        switch (event->type()) {
        case QEvent::Move: on_moved(); break;
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

void WindowPlacement::on_moved()
{
    // The frame may have just become known.
    keep_outer_size();
    if (!window_.isVisible())
        return;
    if (awaiting_answer_ && asked_.elapsed() < answer_time_ms) {
        awaiting_answer_ = false;
        return;
    }
    awaiting_answer_ = false;
    logical_position_ = position();
    emit moved_by_user(logical_position_);
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
