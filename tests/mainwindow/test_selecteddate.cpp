// The selected date as a value: the day cut to the month, the remembered
// day, month stepping across years and at the ends of the calendar.
#include <QtTest>

#include "mainwindow/selecteddate.h"

class TestSelectedDate : public QObject {
    Q_OBJECT

private slots:
    void clamp_date_stays_in_its_month_for_every_day()
    {
        for (int year = 1900; year <= 2051; ++year)
            for (int month = 1; month <= 12; ++month) {
                const int length = SelectedDate::days_in_month(year, month);
                QCOMPARE(length, QDate(year, month, 1).daysInMonth());
                for (int day = 1; day <= 31; ++day) {
                    const QDate d = SelectedDate::clamp_date(year, month, day);
                    QVERIFY(d.isValid());
                    QCOMPARE(d.year(), year);
                    QCOMPARE(d.month(), month);
                    QCOMPARE(d.day(), std::min(day, length));
                }
            }
    }

    void the_remembered_day_survives_short_months()
    {
        SelectedDate sel;
        sel.select(QDate(2024, 1, 31));
        QCOMPARE(sel.sel_daykey, QStringLiteral("20240131"));
        sel.sel_month = 2;
        QCOMPARE(sel.shown(), QDate(2024, 2, 29));
        QCOMPARE(sel.sel_day, 31);
        sel.sel_year = 2023;
        QCOMPARE(sel.shown(), QDate(2023, 2, 28));
        sel.sel_month = 3;
        QCOMPARE(sel.shown(), QDate(2023, 3, 31));
    }

    void months_step_across_years_and_stop_at_the_ends()
    {
        QCOMPARE(SelectedDate::month_from(QDate(2024, 1, 1), -1), QDate(2023, 12, 1));
        QCOMPARE(SelectedDate::month_from(QDate(2024, 12, 1), +1), QDate(2025, 1, 1));
        QCOMPARE(SelectedDate::month_from(QDate(2050, 12, 1), +1), QDate(2051, 1, 1));
        QCOMPARE(SelectedDate::month_from(QDate(1901, 1, 1), -1), QDate(1900, 12, 1));
        QVERIFY(!SelectedDate::month_from(QDate(1, 1, 1), -1).isValid());
        QVERIFY(!SelectedDate::month_from(QDate(9999, 12, 1), +1).isValid());
        // Stepping there and back returns to the same month, whatever the distance.
        for (int delta = -30; delta <= 30; ++delta) {
            const QDate there = SelectedDate::month_from(QDate(1990, 6, 1), delta);
            QCOMPARE(SelectedDate::month_from(there, -delta), QDate(1990, 6, 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestSelectedDate)
#include "test_selecteddate.moc"
