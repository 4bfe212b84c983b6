#include "tasks/daypage.h"

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "tasks/daylist.h"
#include "tasks/plandialog.h"
#include "tasks/schedulemanage.h"
#include "tasks/storedtasks.h"
#include "tasks/taskchangedialog.h"
#include "tasks/taskflags.h"
#include "tasks/taskgrid.h"
#include "ui_TaskPage.h"
#include "uikit/dayhost.h"
#include "uikit/daykey.h"
#include "uikit/errors.h"
#include "uikit/messagebox.h"

namespace tasks {

namespace {

const QString change_mark = QStringLiteral("【变更】");

}  // namespace

DayTaskPage::DayTaskPage(uikit::DayHost& host, std::function<QDate()> today, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TaskPage>()), host_(host), today_(std::move(today))
{
    ui->setupUi(this);
    ui->sg_mon_log->configure(TaskGrid::day_list_look());
    connect(ui->bt_plan_add, &QPushButton::clicked, this, &DayTaskPage::bt_plan_addClick);
    connect(ui->bt_plan_del, &QPushButton::clicked, this, &DayTaskPage::bt_plan_delClick);
    connect(ui->bt_plan_edit, &QPushButton::clicked, this, &DayTaskPage::bt_plan_editClick);
    connect(ui->Button2, &QPushButton::clicked, this, &DayTaskPage::Button2Click);
    connect(ui->Button7, &QPushButton::clicked, this, &DayTaskPage::reminder_options_requested);
    connect(ui->Button8, &QPushButton::clicked, this, &DayTaskPage::task_manager_requested);
    connect(ui->sg_mon_log, &QAbstractItemView::doubleClicked, this, &DayTaskPage::sg_mon_logDblClick);
    connect(ui->sg_mon_log->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { sg_mon_logSelectCell(current.row()); });
}

DayTaskPage::~DayTaskPage() = default;

TaskGrid& DayTaskPage::grid() { return *ui->sg_mon_log; }

// Each day starts with its first row current and no row underlined.
void DayTaskPage::load_schedule(const QString& day)
{
    const bool loaded = uikit::report_errors([&] { tasks::load_schedule(grid(), day); });
    set_list_locked(!loaded);
    grid().setCurrentCell(0, 0);
    grid().set_underlined_row(-1);
}

void DayTaskPage::set_list_locked(bool locked)
{
    grid().setEnabled(!locked);
    for (QWidget* button : {ui->bt_plan_add, ui->bt_plan_del, ui->bt_plan_edit, ui->Button2})
        button->setEnabled(!locked);
}

// While the task manager is open, schedule_changed tells of its list, not
// of this one: a session that ends under the manager writes the manager's
// list, and this one, unchanged, is not written over its day.
bool DayTaskPage::savedata2fx_schedule(const QString& day)
{
    if (ScheduleManageWindow* manager = open_schedule_manager())
        return manager->write_back();
    return uikit::report_errors([&] { tasks::savedata2fx_schedule(grid(), day, host_); });
}

void DayTaskPage::bt_plan_addClick()
{
    const QString plan = show_plan(QString(), host_.host_window());
    if (is_blank(plan))
        return;
    grid().append_task(task_of_plan(plan));
    schedule_changed = true;
}

void DayTaskPage::bt_plan_editClick()
{
    const int row = grid().current_task_row();
    const TaskRow task = grid().task(row);
    if (task.category.isEmpty())
        return;
    const QString plan = show_plan(plan_of(task), host_.host_window());
    if (is_blank(plan))
        return;
    grid().set_task(row, task_of_plan(plan));
    schedule_changed = true;
}

void DayTaskPage::bt_plan_delClick()
{
    if (grid().delete_task(grid().current_task_row()))
        schedule_changed = true;
}

void DayTaskPage::sg_mon_logDblClick()
{
    if (grid().task(0).category.isEmpty())
        return;
    grid().toggle_state(grid().current_task_row());
    schedule_changed = true;
    grid().viewport()->update();
}

void DayTaskPage::sg_mon_logSelectCell(int row) { grid().set_underlined_row(row); }

void DayTaskPage::Button2Click()
{
    if (grid().is_empty())
        return;
    const int row = grid().current_task_row();
    if (trim_blanks(grid().task(row).state) == state_done) {
        uikit::message_box(host_.host_window(), QStringLiteral("已完成的任务无法变更！"));
        return;
    }
    const std::optional<TaskChange> change = show_taskchange(today_(), host_.host_window());
    if (!change)
        return;
    if (uikit::daykey_of(change->date) == host_.selected_daykey()) {
        uikit::message_box(host_.host_window(), QStringLiteral("变更日期不能为任务当前日期！"));
        return;
    }
    uikit::report_errors([&] { move_task(row, *change); });
}

// The copy is stored at once.  When the task leaves its day, the day's list
// is written back without it in the same transaction, so the task is on
// exactly one day whatever happens; the list on screen then matches the
// file.  The month view stays on the selected day and its marks follow.
void DayTaskPage::move_task(int row, const TaskChange& change)
{
    TaskRow copy = grid().task(row);
    if (change.mark_change && !copy.text.contains(change_mark))
        copy.text.prepend(change_mark);
    const std::string target = uikit::daykey_of(change.date).toStdString();
    if (change.delete_original) {
        QList<TaskRow> remaining = grid().tasks();
        remaining.removeAt(row);
        daydata::move_task(open_app_database(), host_.selected_daykey().toStdString(), to_storage(remaining), target,
                           to_storage(copy));
        grid().delete_task(row);
        schedule_changed = false;
    } else {
        daydata::append_task(open_app_database(), target, to_storage(copy));
    }
    host_.redraw_selected_month();
}

}  // namespace tasks
