// The page "计划任务" of the main window: the selected day's task list
// sg_mon_log and the button bar Panel9.  Tasks are added, edited, deleted
// and toggled in the list only; the list is written back when the day is
// left (savedata2fx_schedule).  "变更" moves a task to another day at once.
#pragma once

#include <QDate>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class TaskPage;
}
namespace uikit {
class DayHost;
}

namespace tasks {

class TaskGrid;
struct TaskChange;

class DayTaskPage : public QWidget {
    Q_OBJECT

public:
    // `host` gives the selected day and redraws the month view; `today`
    // tells the date of today.
    DayTaskPage(uikit::DayHost& host, std::function<QDate()> today, QWidget* parent);
    ~DayTaskPage() override;

    TaskGrid& grid();

    // Fills the list with the tasks stored for `day`.  When they cannot be
    // read the error is shown and the list stays empty and locked, so that
    // nothing can be written over the day's stored tasks.
    void load_schedule(const QString& day);
    // Writes the list back under `day` if it holds changes and redraws the
    // month view.  On failure the error is shown, the list and its changes
    // stay, and false is returned: the caller must not leave the day.
    // While the task manager is open its list is the one written.
    bool savedata2fx_schedule(const QString& day);

signals:
    // "提醒": the options dialog, on its page of the task reminder.
    void reminder_options_requested();
    // "管理": the task manager.
    void task_manager_requested();

private slots:
    void bt_plan_addClick();
    void bt_plan_delClick();
    void bt_plan_editClick();
    void Button2Click();
    void sg_mon_logDblClick();
    void sg_mon_logSelectCell(int row);

private:
    void move_task(int row, const TaskChange& change);
    void set_list_locked(bool locked);

    std::unique_ptr<Ui::TaskPage> ui;
    uikit::DayHost& host_;
    std::function<QDate()> today_;
};

}  // namespace tasks
