#include "mainwindow/placement.h"

#include <QWidget>
#include <algorithm>

void WindowPlacement::apply_opacity(int form_blend)
{
    window_.setWindowOpacity(std::clamp(form_blend, 30, 255) / 255.0);
}

void WindowPlacement::place_at_start(int left, int top)
{
    if (top < 0 || left < 0)
        window_.move(0, 0);
    else
        window_.move(left, top);
}

void WindowPlacement::keep_outer_size()
{
    const QSize frame_extra = window_.frameGeometry().size() - window_.geometry().size();
    const QSize client(outer_width - frame_extra.width(), outer_height - frame_extra.height());
    if (window_.size() != client || window_.minimumSize() != client || window_.maximumSize() != client)
        window_.setFixedSize(client);
}

QPoint WindowPlacement::position() const { return window_.pos(); }
