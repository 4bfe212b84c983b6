#include "tasks/daylist.h"

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "tasks/storedtasks.h"
#include "tasks/taskflags.h"
#include "tasks/taskgrid.h"
#include "uikit/dayhost.h"

namespace tasks {

void load_schedule(TaskGrid& grid, const QString& day)
{
    grid.clear_list();
    grid.set_tasks(stored_tasks(day));
}

void savedata2fx_schedule2(const TaskGrid& grid, const QString& day)
{
    if (!day.isEmpty())
        daydata::replace_tasks(open_app_database(), day.toStdString(), to_storage(grid.tasks()));
    schedule_changed = false;
}

void savedata2fx_schedule(const TaskGrid& grid, const QString& day, uikit::DayHost& host)
{
    if (!schedule_changed)
        return;
    savedata2fx_schedule2(grid, day);
    host.redraw_selected_month();
}

}  // namespace tasks
