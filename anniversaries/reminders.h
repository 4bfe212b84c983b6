// The anniversary reminders: a window for every anniversary whose reminder
// day is today, two seconds after start-up and again whenever the local
// date changes while the program runs.
#pragma once

#include <QDate>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

#include "anniversaries/anniversary.h"

class QTimer;
class QWidget;

namespace uikit {
class HintMessage;
}

namespace anniversaries {

// What a look through the list finds for one day.
struct DayCheck {
    std::vector<Entry> due;  // switched on, reminder day on the day; list order
    std::vector<Entry> unreadable;  // date or days of notice cannot be read
};
DayCheck check_day(const std::vector<Entry>& list, QDate day);

// A new reminder window showing `text`, shown without blocking; every call
// makes a window of its own.
uikit::HintMessage* show_datehintmess(const QString& text);

class Reminders : public QObject {
    Q_OBJECT

public:
    // `today` is the clock; messages show over `owner`.
    Reminders(std::function<QDate()> today, QWidget* owner, QObject* parent = nullptr);

    // Announces the anniversaries due today that this run has not announced
    // today yet, and names the rows that cannot be read and were not named
    // before.  From the first check on, the date is watched.
    void check();
    // Checks again when the date has changed since the last check.
    void check_date_change();

    // How often the date is looked at.
    static constexpr int date_poll_ms = 60'000;

private:
    void announce(const std::vector<Entry>& due, QDate day);
    void report_unreadable(const std::vector<Entry>& unreadable);

    std::function<QDate()> today_;
    QWidget* owner_;
    QTimer* Timer_datecheck;
    QDate checked_day_;
    // Per day and row text: how many such rows were announced.  Two equal
    // rows due together are two reminders.
    QHash<QString, int> announced_;
    QSet<QString> reported_;
};

}  // namespace anniversaries
