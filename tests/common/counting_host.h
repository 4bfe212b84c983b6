// A DayHost for operations on a grid or text box of their own: 5 March 2024
// is selected, and it only counts the redraws asked of it.
#pragma once

#include "uikit/dayhost.h"

namespace testing {

struct CountingHost : uikit::DayHost {
    int redraws = 0;
    QDate selected_date() const override { return QDate(2024, 3, 5); }
    QString selected_daykey() const override { return QStringLiteral("20240305"); }
    void redraw_selected_month() override { ++redraws; }
    QWidget* host_window() override { return nullptr; }
};

}  // namespace testing
