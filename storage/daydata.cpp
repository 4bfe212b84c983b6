#include "storage/daydata.h"

namespace daydata {

namespace {

SqlValue text(const std::string& s) { return s; }

std::string field(const TSQLiteTable& table, const char* column)
{
    return table.field_text(table.column_index(column));
}

}  // namespace

// EXISTS stops at the first index entry of the day, so a mark costs the same
// whether the day holds one row or hundreds.
DayMarks day_marks(TSQLiteDatabase& db, const std::string& daykey)
{
    const TSQLiteTable t = db.query("SELECT EXISTS (SELECT 1 FROM vk_schedule WHERE sDate = ?1), "
                                    "EXISTS (SELECT 1 FROM vk_note WHERE sDate = ?1)",
                                    {text(daykey)});
    return DayMarks{t.field_text(0) == "1", t.field_text(1) == "1"};
}

// Rows come back by ID, which is the order they were inserted in; every
// save inserts the list in its order, so the list keeps it.
std::vector<Task> load_tasks(TSQLiteDatabase& db, const std::string& daykey)
{
    TSQLiteTable t = db.query("SELECT lb, sState, sItem FROM vk_schedule WHERE sDate = ? ORDER BY ID", {text(daykey)});
    std::vector<Task> tasks;
    tasks.reserve(static_cast<std::size_t>(t.row_count()));
    for (; !t.at_end(); t.next())
        tasks.push_back(Task{field(t, "lb"), field(t, "sState"), field(t, "sItem")});
    return tasks;
}

namespace {

SqlStatement insert_task(const std::string& daykey, const Task& task)
{
    return {"INSERT INTO vk_schedule(sDate,lb,sState,sItem) VALUES (?,?,?,?)",
            {text(daykey), text(task.category), text(task.state), text(task.text)}};
}

std::vector<SqlStatement> insert_tasks(const std::string& daykey, const std::vector<Task>& tasks)
{
    std::vector<SqlStatement> inserts;
    inserts.reserve(tasks.size() + 1);
    for (const Task& task : tasks)
        inserts.push_back(insert_task(daykey, task));
    return inserts;
}

SqlStatement delete_tasks(const std::string& daykey)
{
    return {"DELETE FROM vk_schedule WHERE sDate = ?", {text(daykey)}};
}

}  // namespace

void replace_tasks(TSQLiteDatabase& db, const std::string& daykey, const std::vector<Task>& tasks)
{
    db.replace_rows(delete_tasks(daykey), insert_tasks(daykey, tasks));
}

void append_task(TSQLiteDatabase& db, const std::string& daykey, const Task& task)
{
    db.execute(insert_task(daykey, task));
}

// The copy is inserted after the delete of the day being left, so it
// survives even when both keys are the same.
void move_task(TSQLiteDatabase& db, const std::string& from_daykey, const std::vector<Task>& remaining,
               const std::string& to_daykey, const Task& task)
{
    std::vector<SqlStatement> inserts = insert_tasks(from_daykey, remaining);
    inserts.push_back(insert_task(to_daykey, task));
    db.replace_rows(delete_tasks(from_daykey), inserts);
}

std::optional<std::string> load_note(TSQLiteDatabase& db, const std::string& daykey)
{
    const TSQLiteTable t = db.query("SELECT sNote FROM vk_note WHERE sDate = ? ORDER BY ID LIMIT 1", {text(daykey)});
    if (t.row_count() == 0)
        return std::nullopt;
    return t.field_text(0);
}

void replace_note(TSQLiteDatabase& db, const std::string& daykey, const std::string& note)
{
    std::vector<SqlStatement> inserts;
    if (!note.empty())
        inserts.push_back({"INSERT INTO vk_note(sDate,sNote) VALUES (?,?)", {text(daykey), text(note)}});
    db.replace_rows({"DELETE FROM vk_note WHERE sDate = ?", {text(daykey)}}, inserts);
}

std::vector<Anniversary> load_anniversaries(TSQLiteDatabase& db)
{
    TSQLiteTable t = db.query("SELECT sDate, txDays, sState, Desc FROM vk_jnr ORDER BY ID");
    std::vector<Anniversary> list;
    for (; !t.at_end(); t.next())
        list.push_back(Anniversary{field(t, "sDate"), field(t, "txDays"), field(t, "sState"), field(t, "Desc")});
    return list;
}

// sourcebz "0": a Gregorian date, the only kind the program keeps.
void replace_anniversaries(TSQLiteDatabase& db, const std::vector<Anniversary>& list)
{
    std::vector<SqlStatement> inserts;
    inserts.reserve(list.size());
    for (const Anniversary& a : list)
        inserts.push_back({"INSERT INTO vk_jnr(sDate,sourcebz,txDays,sState,Desc) VALUES (?,'0',?,?,?)",
                           {text(a.date), text(a.days), text(a.state), text(a.description)}});
    db.replace_rows({"DELETE FROM vk_jnr", {}}, inserts);
}

// The index on sDate hands the keys over sorted and without reading a row.
std::vector<std::string> daykeys(TSQLiteDatabase& db, DayTable table)
{
    TSQLiteTable t = db.query(table == DayTable::Tasks
                                  ? "SELECT DISTINCT sDate FROM vk_schedule WHERE sDate IS NOT NULL ORDER BY sDate"
                                  : "SELECT DISTINCT sDate FROM vk_note WHERE sDate IS NOT NULL ORDER BY sDate");
    std::vector<std::string> keys;
    keys.reserve(static_cast<std::size_t>(t.row_count()));
    for (; !t.at_end(); t.next())
        keys.push_back(t.field_text(0));
    return keys;
}

}  // namespace daydata
