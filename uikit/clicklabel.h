// A label that can be pressed and clicked: the day cells of the month view,
// the links and the captions with popup menus.  It carries a number as its
// tag (the day of a cell) and reports the pointer entering and leaving it.
#pragma once

#include <QLabel>

namespace uikit {

class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    int tag = 0;

signals:
    // Any mouse button pressed on the label.
    void pressed(uikit::ClickLabel* self, Qt::MouseButton button, QPoint global_position);
    // The left button pressed and released on the label.
    void clicked(uikit::ClickLabel* self);
    void entered(uikit::ClickLabel* self);
    void left(uikit::ClickLabel* self);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

}  // namespace uikit
