#include "tasks/reminder.h"

#include <QTimer>
#include <algorithm>

#include "storage/settings.h"
#include "tasks/storedtasks.h"
#include "tasks/taskflags.h"
#include "tasks/taskgrid.h"
#include "uikit/dayhost.h"
#include "uikit/daykey.h"
#include "uikit/errors.h"
#include "uikit/hintmessage.h"

namespace tasks {

void configure_taskhint_timer(QTimer& timer, const Settings& settings)
{
    if (settings.taskhint_use != "1") {
        timer.stop();
        return;
    }
    // The options dialog offers 1 to 24 hours; a hand-edited file may hold
    // anything, which is taken within that range and left as it stands.
    constexpr int ms_per_hour = 3'600'000;
    const int interval = std::clamp(settings.taskhint_time, 1, 24) * ms_per_hour;
    if (timer.isActive() && timer.interval() == interval)
        return;
    timer.start(interval);
}

TaskReminder::TaskReminder(const TaskGrid& day_list, uikit::DayHost& host, std::function<QDate()> today,
                           QObject* parent)
    : QObject(parent), day_list_(day_list), host_(host), today_(std::move(today))
{
}

// The window does not outlive the main window it reminds of.
TaskReminder::~TaskReminder() { delete window_.data(); }

TaskReminder::Counts TaskReminder::taskcheck() const
{
    const QString today = uikit::daykey_of(today_());
    const QList<TaskRow> tasks = host_.selected_daykey() == today ? day_list_.tasks() : stored_tasks(today);
    Counts counts;
    for (const TaskRow& task : tasks)
        ++(task.state == state_done ? counts.finished : counts.open);
    return counts;
}

void TaskReminder::Timer_taskhintTimer()
{
    Counts counts;
    if (!uikit::report_errors([&] { counts = taskcheck(); }))
        return;
    if (counts.open > 0 && taskhint_showing == "0")
        show_taskhintmess(
            QStringLiteral("今天尚有【%1】项任务未完成；已完成【%2】项任务。").arg(counts.open).arg(counts.finished));
}

// Closing the window by its close box counts as "确定(&S)": otherwise no
// reminder would come again for the rest of the run.
void TaskReminder::show_taskhintmess(const QString& text)
{
    window_ = new uikit::HintMessage(QStringLiteral("frm_taskhintmess"), QStringLiteral("任务提醒"), text);
    taskhint_showing.assign(1, '1');
    connect(window_, &uikit::HintMessage::closed, this, [] { taskhint_showing.assign(1, '0'); });
    window_->show_centred();
}

}  // namespace tasks
