#include "tasks/taskrow.h"

#include <algorithm>

namespace tasks {

namespace {

bool is_blank_char(QChar c) { return c.unicode() <= 0x20; }

}  // namespace

bool is_blank(const QString& text) { return std::all_of(text.begin(), text.end(), is_blank_char); }

QString trim_blanks(const QString& text)
{
    qsizetype first = 0, end = text.size();
    while (first < end && is_blank_char(text[first]))
        ++first;
    while (end > first && is_blank_char(text[end - 1]))
        --end;
    return text.mid(first, end - first);
}

// A category outside "A" to "D" (only a hand-edited file holds one) is
// offered as the first category rather than as a digit the editor cannot
// read.
QString plan_of(const TaskRow& task)
{
    const qsizetype category = task.category.size() == 1 ? category_letters.indexOf(task.category) : -1;
    return QString::number(std::max<qsizetype>(category, 0)) +
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
