// The narrow way in which the windows of the planner reach the main window:
// the selected day and a redraw of the month view.  The main window
// implements it and hands it to the operations and windows that need it,
// which therefore never depend on the main window itself.
#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace uikit {

class DayHost {
public:
    // The date on show: the selected year and month with the remembered day
    // cut to the month's length.
    virtual QDate selected_date() const = 0;
    // The DayKey of the day whose task list and note are on show.
    virtual QString selected_daykey() const = 0;
    // Redraws the month view for the selected date, so that the task and
    // note marks follow what was just written.
    virtual void redraw_selected_month() = 0;
    // The main window itself: the owner of the windows opened from it.
    virtual QWidget* host_window() = 0;

protected:
    ~DayHost() = default;
};

}  // namespace uikit
