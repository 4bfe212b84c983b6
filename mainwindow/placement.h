// Where the main window stands and how it looks from outside: its fixed
// outer size, its opacity and its position on the screen.  Edge docking
// and auto-hide belong here as well.
#pragma once

#include <QPoint>

class QWidget;

class WindowPlacement {
public:
    static constexpr int outer_width = 328;
    static constexpr int outer_height = 560;

    explicit WindowPlacement(QWidget& window) : window_(window) { }

    // Opacity from the setting form_blend.  A hand-edited value outside what
    // the options offer (0 would make the window invisible) is brought back
    // into range here; the stored value stays as it is.
    void apply_opacity(int form_blend);
    // The start-up position: (left, top), or the top-left corner when either
    // is negative.
    void place_at_start(int left, int top);
    // Keeps the outer size at 328 x 560, frame included.
    void keep_outer_size();
    // The position the shutdown save stores.
    QPoint position() const;

private:
    QWidget& window_;
};
