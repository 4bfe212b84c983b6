// The periodic task reminder: every taskhint_time hours the open and the
// finished tasks of today are counted, and while at least one is open a
// reminder window tells both numbers.  One window at a time.
#pragma once

#include <QDate>
#include <QObject>
#include <QPointer>
#include <functional>

struct Settings;
class QTimer;
namespace uikit {
class DayHost;
class HintMessage;
}  // namespace uikit

namespace tasks {

class TaskGrid;

// Arms `timer` from the settings: every taskhint_time hours, taken within
// 1 to 24, while taskhint_use is "1"; stopped otherwise.  A running timer
// whose interval stays goes on with its period; one that was off or changes
// its interval starts a full period.  Run at start-up and whenever the
// options change.
void configure_taskhint_timer(QTimer& timer, const Settings& settings);

class TaskReminder : public QObject {
    Q_OBJECT

public:
    struct Counts {
        int open = 0;
        int finished = 0;
    };

    // Counts from `day_list` when it shows today, and from the tasks
    // stored for today otherwise; `today` is asked at every check.
    TaskReminder(const TaskGrid& day_list, uikit::DayHost& host, std::function<QDate()> today, QObject* parent);
    ~TaskReminder() override;

    Counts taskcheck() const;
    // The timer's tick: shows a reminder when a task is open and no
    // reminder is on screen.
    void Timer_taskhintTimer();
    void show_taskhintmess(const QString& text);

private:
    const TaskGrid& day_list_;
    uikit::DayHost& host_;
    std::function<QDate()> today_;
    QPointer<uikit::HintMessage> window_;
};

}  // namespace tasks
