// The task-list operations shared by the day list and the task manager:
// a grid is filled from a day's stored tasks and written back as that day's
// tasks.
#pragma once

#include <QString>

namespace uikit {
class DayHost;
}

namespace tasks {

class TaskGrid;

// Fills `grid` with the tasks stored for the DayKey `day`, in their order.
// schedule_changed is not touched.
void load_schedule(TaskGrid& grid, const QString& day);

// Writes `grid` back as the tasks of `day`, replacing the day's rows in one
// transaction, and clears schedule_changed.  An empty key writes nothing.
// When the write fails the day keeps its old rows and the flag stays set,
// so the next save writes the whole list again.
void savedata2fx_schedule2(const TaskGrid& grid, const QString& day);

// What callers use: if schedule_changed is set, savedata2fx_schedule2 and
// then a redraw of the month view, so that its marks follow.
void savedata2fx_schedule(const TaskGrid& grid, const QString& day, uikit::DayHost& host);

}  // namespace tasks
