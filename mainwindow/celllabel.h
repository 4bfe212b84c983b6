// A label of a day cell: carries its day number as a tag and reports a
// press of any mouse button and a click.
#pragma once

#include <QLabel>

class CellLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    int tag = 0;

signals:
    void pressed(CellLabel* self);
    void clicked(CellLabel* self);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
