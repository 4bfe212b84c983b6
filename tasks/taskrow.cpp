#include "tasks/taskrow.h"

#include <algorithm>

namespace tasks {

int category_index(const TaskRow& task)
{
    return task.category.size() == 1 ? static_cast<int>(category_letters.indexOf(task.category)) : -1;
}

// A category outside "A" to "D" is offered as the first category rather
// than as a digit the editor cannot read.
QString plan_of(const TaskRow& task)
{
    return QString::number(std::max(category_index(task), 0)) +
           (task.state == state_open ? QLatin1Char('0') : QLatin1Char('1')) + task.text;
}

TaskRow task_of_plan(const QString& plan)
{
    const int category = plan.isEmpty() ? 0 : plan[0].digitValue();
    TaskRow task;
    task.category = category_letters.at(category >= 0 && category < 4 ? category : 0);
    task.state = plan.size() > 1 && plan[1] == QLatin1Char('0') ? state_open : state_done;
    task.text = plan.mid(2);
    return task;
}

}  // namespace tasks
