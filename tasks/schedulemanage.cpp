#include "tasks/schedulemanage.h"

#include <QButtonGroup>
#include <QPointer>

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "tasks/daylist.h"
#include "tasks/radiogroup.h"
#include "tasks/taskflags.h"
#include "tasks/taskgrid.h"
#include "ui_frm_schedule_manage.h"
#include "uikit/datetree.h"
#include "uikit/dayhost.h"
#include "uikit/errors.h"
#include "uikit/messagebox.h"
#include "uikit/style.h"
#include "uikit/typedtext.h"

namespace tasks {

QString manage_task_day;
int manage_task_row = -1;

namespace {

QPointer<ScheduleManageWindow> open_manager;

enum StateItem { open_item = 0, done_item = 1 };

}  // namespace

ScheduleManageWindow* open_schedule_manager() { return open_manager; }

ScheduleManageWindow::ScheduleManageWindow(uikit::DayHost& host, QWidget* parent)
    : DayTreeWindow(parent), ui(std::make_unique<Ui::frm_schedule_manage>()), host_(host)
{
    ui->setupUi(this);
    uikit::set_base_colour(ui->Memo1, Qt::white);
    grid().configure(TaskGrid::manager_look());
    states = radio_group(this, {ui->RadioGroup2_0, ui->RadioGroup2_1});
    categories = radio_group(this, {ui->RadioGroup1_0, ui->RadioGroup1_1, ui->RadioGroup1_2, ui->RadioGroup1_3});

    watch(ui->RzTreeView1);
    connect(&grid(), &QAbstractItemView::clicked, this, &ScheduleManageWindow::sg_schedule_manageClick);
    // A row reached with the keys counts as clicked; one the current row
    // moves to as the window itself changes the rows does not.
    connect(grid().selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        sg_schedule_manageSelectCell(current.row());
        if (!changing_rows_)
            sg_schedule_manageClick();
    });
    connect(ui->bt_add, &QPushButton::clicked, this, &ScheduleManageWindow::bt_addClick);
    connect(ui->bt_edit, &QPushButton::clicked, this, &ScheduleManageWindow::bt_editClick);
    connect(ui->bt_del, &QPushButton::clicked, this, &ScheduleManageWindow::bt_delClick);
    connect(ui->Button1, &QPushButton::clicked, this, &ScheduleManageWindow::Button1Click);
}

ScheduleManageWindow::~ScheduleManageWindow() = default;

TaskGrid& ScheduleManageWindow::grid() const { return *ui->sg_schedule_manage; }

void ScheduleManageWindow::fill_tree()
{
    ui->RzTreeView1->fill(daydata::daykeys(open_app_database(), daydata::DayTable::Tasks));
}

bool ScheduleManageWindow::write_back()
{
    return uikit::report_errors([this] { tasks::savedata2fx_schedule(grid(), manage_task_day, host_); });
}

// A day whose tasks cannot be read is shown empty and cannot be edited, so
// nothing is written over its stored tasks.
void ScheduleManageWindow::show_day(const QString& day)
{
    manage_task_day = day;
    changing_rows_ = true;
    const bool loaded = uikit::report_errors([&] { load_schedule(grid(), day); });
    start_at_first_row();
    changing_rows_ = false;
    set_buttons_enabled(loaded, loaded);
}

void ScheduleManageWindow::show_no_day()
{
    changing_rows_ = true;
    grid().clear_list();
    start_at_first_row();
    changing_rows_ = false;
    ui->Memo1->clear();
    set_buttons_enabled(false, false);
}

// Each list starts with its first row current and none underlined; the
// radio groups and Memo1 keep what they hold.
void ScheduleManageWindow::start_at_first_row()
{
    grid().setCurrentCell(0, 0);
    sg_schedule_manageSelectCell(-1);
}

void ScheduleManageWindow::set_buttons_enabled(bool add, bool edit_and_delete)
{
    ui->bt_add->setEnabled(add);
    ui->bt_edit->setEnabled(edit_and_delete);
    ui->bt_del->setEnabled(edit_and_delete);
}

void ScheduleManageWindow::sg_schedule_manageSelectCell(int row)
{
    manage_task_row = row;
    grid().set_underlined_row(row);
}

// The radio groups and Memo1 take the current row's task; a category
// other than "A" to "D" leaves no category chosen.
void ScheduleManageWindow::sg_schedule_manageClick()
{
    const TaskRow task = grid().task(grid().current_task_row());
    choose_item(states, task.state == state_open ? open_item : done_item);
    choose_item(categories, category_index(task));
    ui->Memo1->setPlainText(task.text);
}

// The text as typed, line breaks and surrounding spaces included; no
// category chosen counts as "A".
std::optional<TaskRow> ScheduleManageWindow::typed_task()
{
    const QString text = uikit::typed_text(ui->Memo1);
    if (is_blank(text)) {
        uikit::message_box(this, QStringLiteral("请填写计划任务的内容！"));
        return std::nullopt;
    }
    const int category = std::max(categories->checkedId(), 0);
    return TaskRow{category_letters.at(category), states->checkedId() == open_item ? state_open : state_done, text};
}

void ScheduleManageWindow::bt_addClick()
{
    const std::optional<TaskRow> task = typed_task();
    if (!task)
        return;
    grid().append_task(*task);
    ui->Memo1->clear();
    schedule_changed = true;
    set_buttons_enabled(true, true);
}

void ScheduleManageWindow::bt_editClick()
{
    const std::optional<TaskRow> task = typed_task();
    if (!task)
        return;
    grid().set_task(grid().current_task_row(), *task);
    schedule_changed = true;
}

void ScheduleManageWindow::bt_delClick()
{
    const bool only_row = grid().rowCount() <= 1;
    changing_rows_ = true;
    grid().delete_task(grid().current_task_row());
    changing_rows_ = false;
    if (only_row)
        set_buttons_enabled(true, false);
    schedule_changed = true;
}

void ScheduleManageWindow::Button1Click() { close(); }

void show_schedule_manage(uikit::DayHost& host)
{
    ScheduleManageWindow window(host, host.host_window());
    open_manager = &window;
    window.show_modally(host.host_window());
}

}  // namespace tasks
