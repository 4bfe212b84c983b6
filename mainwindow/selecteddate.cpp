#include "mainwindow/selecteddate.h"

#include <algorithm>

#include "calendar/DateCn.h"
#include "uikit/daykey.h"

namespace {
// QDate has no year 0; navigation stays inside the years it can name.
constexpr int first_navigable_year = 1;
constexpr int last_navigable_year = 9999;
}  // namespace

int SelectedDate::days_in_month(int year, int month) { return DateCn::days_in_month(year, month); }

QDate SelectedDate::clamp_date(int year, int month, int day)
{
    return QDate(year, month, std::min(day, days_in_month(year, month)));
}

void SelectedDate::select(QDate date)
{
    sel_year = static_cast<quint16>(date.year());
    sel_month = static_cast<quint16>(date.month());
    sel_day = static_cast<quint16>(date.day());
    sel_daykey = uikit::daykey_of(date);
}

// Months are counted from year 0 so that one division gives year and month.
QDate SelectedDate::month_from(QDate month, int delta)
{
    const int index = month.year() * 12 + (month.month() - 1) + delta;
    const int year = index / 12;
    if (year < first_navigable_year || year > last_navigable_year)
        return {};
    return QDate(year, index % 12 + 1, 1);
}
