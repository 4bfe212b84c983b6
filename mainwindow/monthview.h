// The month view of the main window: the header with year, month, the
// stem-branch year and the star sign, and the 37 day cells with their
// calendar texts, task and note marks, and the frame of the selected day.
#pragma once

#include <QDate>
#include <QObject>
#include <QPoint>
#include <array>

namespace uikit {
class ClickLabel;
class Shape;
}  // namespace uikit
namespace Ui {
class FRM_Date;
}

class MonthView : public QObject {
    Q_OBJECT

public:
    static constexpr int cell_count = 37;

    // Works on the month panel of `ui`, which must outlive the view.
    MonthView(Ui::FRM_Date& ui, QObject* parent);

    // Creates the 37 cells, hidden; once, when the window is created.
    void build_day_cells();

    // Redraws the header and the cells for the month of `date`, framing its
    // day.  A failed query ends the cell loop without a message: the days
    // drawn so far stay, the rest stay hidden.
    void redraw_month(QDate date);

    // The first day of the month on show; invalid before the first redraw.
    QDate month_on_show() const { return month_on_show_; }

    // Moves the frame to `position` at once, before the redraw puts it in
    // its final place.
    void move_frame(QPoint position);
    void show_star_sign(int day, QDate date);

signals:
    // A mouse button pressed on a cell: its day, and where the frame goes.
    void day_pressed(int day, QPoint frame_position);
    // A click on a cell.
    void day_clicked(int day);

private:
    void apply_fonts_and_colours();
    void redraw_header(QDate date);
    void reset_cells();
    void draw_day(int cell, int day, QDate date);
    void CnDayMouseDown(uikit::ClickLabel* label);
    void ChnDateMouseDown(uikit::ClickLabel* label);

    Ui::FRM_Date& ui;
    QDate month_on_show_;
    std::array<uikit::ClickLabel*, cell_count> day_labels{};
    std::array<uikit::ClickLabel*, cell_count> lunar_labels{};
    std::array<uikit::Shape*, cell_count> task_marks{};
    std::array<uikit::Shape*, cell_count> note_marks{};
};
