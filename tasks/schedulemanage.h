// The task manager frm_schedule_manage: every day that has tasks, in a tree
// of years, months and days, and the tasks of the day chosen there, to be
// added, changed and deleted without moving the main window's selected
// date.  Its list is written back, through the day list's operations, when
// another node is chosen and when the window closes.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "tasks/taskrow.h"
#include "uikit/daytreewindow.h"

class QButtonGroup;
namespace Ui {
class frm_schedule_manage;
}
namespace uikit {
class DayHost;
}

namespace tasks {

class TaskGrid;

// Kept for the run, also between openings: the DayKey of the day node last
// chosen, and the row of its list last chosen (-1 for none), which is
// drawn underlined.
extern QString manage_task_day;
extern int manage_task_row;

class ScheduleManageWindow : public uikit::DayTreeWindow {
    Q_OBJECT

public:
    // The month view is redrawn through `host` after every write-back.
    explicit ScheduleManageWindow(uikit::DayHost& host, QWidget* parent = nullptr);
    ~ScheduleManageWindow() override;

    // Writes the list back under manage_task_day if schedule_changed is set.
    // A failure is shown, and the list and the flag stay: returns false.
    bool write_back() override;

protected:
    void fill_tree() override;
    void show_day(const QString& day) override;
    void show_no_day() override;

private slots:
    void sg_schedule_manageClick();
    void sg_schedule_manageSelectCell(int row);
    void bt_addClick();
    void bt_editClick();
    void bt_delClick();
    void Button1Click();

private:
    TaskGrid& grid() const;
    void set_buttons_enabled(bool add, bool edit_and_delete);
    // The task the radio groups and Memo1 describe; none (after the message)
    // when the text is blank.
    std::optional<TaskRow> typed_task();
    void start_at_first_row();

    std::unique_ptr<Ui::frm_schedule_manage> ui;
    uikit::DayHost& host_;
    QButtonGroup* states = nullptr;  // RadioGroup2
    QButtonGroup* categories = nullptr;  // RadioGroup1
    // While the window itself changes the rows, the current row moves
    // without a click.
    bool changing_rows_ = false;
};

// The manager open at this moment, if any: a session that ends under it
// must write its list, since schedule_changed then tells of its changes.
ScheduleManageWindow* open_schedule_manager();

// Opens the task manager over the host's window and returns when it has
// closed.  When the days cannot be read the error is shown and the window
// does not open.
void show_schedule_manage(uikit::DayHost& host);

}  // namespace tasks
