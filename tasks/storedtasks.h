// The tasks as the data file holds them, seen as task rows.  Private to
// the tasks module: its headers show no storage types.
#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "storage/daydata.h"
#include "tasks/taskrow.h"

namespace tasks {

daydata::Task to_storage(const TaskRow& task);
std::vector<daydata::Task> to_storage(const QList<TaskRow>& tasks);

// The tasks stored under the DayKey `day`, in their order.
QList<TaskRow> stored_tasks(const QString& day);

}  // namespace tasks
