// Where the main window stands and how it looks from outside: its fixed
// outer size, its opacity and its position on the screen.  A position is
// always the top-left corner of the window's frame, title bar included:
// what the user sees as the window's place, saved and restored alike.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

// The start-up position: (left, top), or the top-left corner of the screen
// coordinates when either is negative, brought to the nearest place where
// the whole window of `outer` size lies on `screen`.
QPoint start_position(int left, int top, QSize outer, QRect screen);

class WindowPlacement : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT

public:
    static constexpr int outer_width = 328;
    static constexpr int outer_height = 560;
    static QSize outer_size() { return {outer_width, outer_height}; }

    explicit WindowPlacement(QWidget& window);

    // Opacity from the setting form_blend.  A hand-edited value outside what
    // the options offer (0 would make the window invisible) is brought back
    // into range here; the stored value stays as it is.
    void apply_opacity(int form_blend);
    // Places the window at start-up (start_position on the primary screen).
    void place_at_start(int left, int top);
    // Keeps the outer size at 328 x 560, frame included.
    void keep_outer_size();
    // The position the shutdown save stores: where the frame is.
    QPoint position() const;
    // The frame on the screen as the window system last reported it, and
    // whether `point` lies on the window's own caption or border.  Cheap:
    // asked a hundred times a second while the window is docked.
    QRect frame_geometry() const;
    bool on_frame(QPoint point) const;
    // The position the program last gave the window, or where the user put
    // it since: the place a slide goes on from, even where a window manager
    // keeps the window from going all the way.
    QPoint logical_position() const { return logical_position_; }

    // Moves the frame's top-left corner to `position`: always a request of
    // its own, even when the window seems to be there already, so the
    // window manager never places the window by its own rules instead.
    void move_to(QPoint position);
    // Restored, raised and activated on the desktop the user is on.
    void bring_to_front();

    // Qt's primary screen, asked afresh: a monitor may have been unplugged.
    static QRect primary_screen();
    // Whether the program runs on X11, whose window system the platform
    // layer asks directly.
    static bool on_x11();

signals:
    // The window moved, and not because the program moved it: the user
    // dragged it, or another program moved it.
    void moved_by_user(QPoint position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;
    QMargins frame_margins() const;
    void on_frame_announced();
    void move_frame(QPoint position);
    void on_moved(bool from_window_system);
    void remember_request(QPoint position);
    void forget_answered_requests();
    bool is_own_move(QPoint position);
    void on_state_changed();
    void restore();
    void put_back();

    QWidget& window_;
    QPoint logical_position_;
    bool frame_known_ = false;
    bool restoring_ = false;
    QPoint restore_to_;
    // The frame the window manager announces; Qt's own idea of the frame
    // is used until it does.
    QMargins announced_frame_;
    bool frame_announced_ = false;
    // The moves the program asked for lately, to tell the window manager's
    // answers from the user's drags.
    struct Request {
        QPoint position;
        qint64 asked_at = 0;
    };
    std::vector<Request> requests_;
    QElapsedTimer clock_;
};
