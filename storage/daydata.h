// Every statement the program runs on its day data: the tasks and the note
// of a day, the marks of the month view, the anniversary list and the days
// that have rows.  Nothing above the storage layer writes SQL; DayKeys and
// user text are always bound as values, never spliced into the text, so the
// same few compiled statements serve every day.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "storage/sqlite.h"

namespace daydata {

// One task: a row of vk_schedule under the DayKey of its day.
struct Task {
    std::string category;  // lb: "A" to "D"
    std::string state;  // sState: "进行中" or "已完成"
    std::string text;  // sItem
    bool operator==(const Task&) const = default;
};

// One anniversary: a row of vk_jnr.
struct Anniversary {
    std::string date;  // sDate: "yyyy-mm-dd"
    std::string days;  // txDays: days of notice, "01" to "99"
    std::string state;  // sState: "开启" or "关闭"
    std::string description;  // Desc
    bool operator==(const Anniversary&) const = default;
};

// The tables keyed by a DayKey.
enum class DayTable { Tasks, Notes };

// What the month view marks on a day: at least one task row, at least one
// note row.
struct DayMarks {
    bool tasks = false;
    bool note = false;
};
DayMarks day_marks(TSQLiteDatabase& db, const std::string& daykey);

// The day's tasks in the order they were stored.
std::vector<Task> load_tasks(TSQLiteDatabase& db, const std::string& daykey);
// Replaces the day's rows by `tasks`, in list order: the delete and every
// insert commit together, or nothing changes.
void replace_tasks(TSQLiteDatabase& db, const std::string& daykey, const std::vector<Task>& tasks);
// Adds `task` after the day's other rows; one statement, so it is whole or absent.
void append_task(TSQLiteDatabase& db, const std::string& daykey, const Task& task);
// Moves a task to another day: `task` is added after the rows of `to_daykey`
// and the day `from_daykey` is rewritten as `remaining`, all in one
// transaction, so the task is never on both days nor on neither.
void move_task(TSQLiteDatabase& db, const std::string& from_daykey, const std::vector<Task>& remaining,
               const std::string& to_daykey, const Task& task);

// The day's note: the text of its first row (empty for a NULL), or nothing
// when the day has no note row.
std::optional<std::string> load_note(TSQLiteDatabase& db, const std::string& daykey);
// Replaces the day's note rows by one row holding `note`, or by none when
// `note` is empty, in one transaction.
void replace_note(TSQLiteDatabase& db, const std::string& daykey, const std::string& note);

// Every anniversary, in the order stored.
std::vector<Anniversary> load_anniversaries(TSQLiteDatabase& db);
// Replaces the whole list, in list order, in one transaction.
void replace_anniversaries(TSQLiteDatabase& db, const std::vector<Anniversary>& list);

// The distinct DayKeys of a table, in ascending order.
std::vector<std::string> daykeys(TSQLiteDatabase& db, DayTable table);

}  // namespace daydata
