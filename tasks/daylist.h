// The day's task list on the page "计划任务" of the main window.
#pragma once

class QTableWidget;

namespace tasks {

// Writes the header row of a task grid: "类别", "状态", "任务安排", with
// the day list's column widths, colours and font, and leaves the list empty.
void setup_day_grid(QTableWidget* grid);

}  // namespace tasks
