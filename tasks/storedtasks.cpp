#include "tasks/storedtasks.h"

#include "storage/datafile.h"

namespace tasks {

daydata::Task to_storage(const TaskRow& task)
{
    return {task.category.toStdString(), task.state.toStdString(), task.text.toStdString()};
}

std::vector<daydata::Task> to_storage(const QList<TaskRow>& tasks)
{
    std::vector<daydata::Task> stored;
    stored.reserve(static_cast<std::size_t>(tasks.size()));
    for (const TaskRow& task : tasks)
        stored.push_back(to_storage(task));
    return stored;
}

QList<TaskRow> stored_tasks(const QString& day)
{
    QList<TaskRow> tasks;
    for (const daydata::Task& t : daydata::load_tasks(open_app_database(), day.toStdString()))
        tasks.append(
            {QString::fromStdString(t.category), QString::fromStdString(t.state), QString::fromStdString(t.text)});
    return tasks;
}

}  // namespace tasks
