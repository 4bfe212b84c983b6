// One task as the task grids and the task editor hold it, and the plan
// string in which the editor hands a task over.
#pragma once

#include <QString>

#include "uikit/blanks.h"

namespace tasks {

inline const QString state_open = QStringLiteral("进行中");
inline const QString state_done = QStringLiteral("已完成");
// The four categories, in the order of the editor's choices.
inline const QString category_letters = QStringLiteral("ABCD");

struct TaskRow {
    QString category;  // "A" to "D"
    QString state;  // state_open or state_done
    QString text;
    bool operator==(const TaskRow&) const = default;
};

using uikit::is_blank;
using uikit::trim_blanks;

// The place of the task's category in category_letters; -1 for any other
// text (only a hand-edited file holds one).
int category_index(const TaskRow& task);

// The plan string of a task: the category digit "0" to "3", the state digit
// ("0" open, "1" finished), then the text.
QString plan_of(const TaskRow& task);
// The task a plan string stands for; a state digit other than "0" means
// finished.
TaskRow task_of_plan(const QString& plan);

}  // namespace tasks
