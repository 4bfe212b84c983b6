// The main window's selected date: the selected year and month, the
// remembered day and the DayKey of the day whose pages are on show.  A value
// without widgets.
#pragma once

#include <QDate>
#include <QString>

struct SelectedDate {
    quint16 sel_year = 0;
    quint16 sel_month = 0;
    // The remembered day, 1-31: not cut to the month's length when the month
    // changes, so 31 January, then February, then March shows 31 March.
    quint16 sel_day = 0;
    // Empty until the window is first shown.
    QString sel_daykey;

    static int days_in_month(int year, int month);
    // (year, month, day), or the month's last day when day lies beyond it.
    static QDate clamp_date(int year, int month, int day);

    // The date shown for the selection.
    QDate shown() const { return clamp_date(sel_year, sel_month, sel_day); }
    // Selects `date` and its day, and takes its DayKey.
    void select(QDate date);

    // The month `delta` months from `month`, or an invalid date when that
    // lies outside the years 1 to 9999 that a date can name; the day is 1.
    static QDate month_from(QDate month, int delta);
};
