// The day data: a day's tasks and note, the month view's marks, the
// anniversary list and the days that have rows, read and written through
// the storage layer's statements.
#include <QTest>
#include <algorithm>
#include <random>

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "program_folder_fixture.h"

using daydata::Anniversary;
using daydata::Task;

namespace {

TSQLiteDatabase& db() { return *app_database; }

std::string count(const std::string& sql) { return db().query(sql).field_text(0); }

// Texts that broke statements built by concatenation.
std::vector<std::string> hostile_texts()
{
    return {"say \"hi\"",
            "it's",
            "a; DROP TABLE vk_schedule; --",
            "tab\there",
            "line\r\nbreak",
            "emoji \xF0\x9F\x98\x80",
            std::string(4000, 'x'),
            "",
            "中文任务"};
}

// Makes the third insert into `table` fail, as a full disk would.
void fail_third_insert(const char* table)
{
    db().execute(std::string("CREATE TEMP TABLE inserts (n INTEGER)"));
    db().execute(std::string("CREATE TEMP TRIGGER fail_third BEFORE INSERT ON main.") + table +
                 " BEGIN INSERT INTO inserts VALUES (1);"
                 " SELECT RAISE(ABORT, 'disk full') WHERE (SELECT count(*) FROM inserts) = 3; END");
}

}  // namespace

class TestDaydata : public QObject {
    Q_OBJECT

    ProgramFolderFixture folder_;

private slots:
    void init()
    {
        folder_.enter();
        open_data_file();
    }
    void cleanup()
    {
        app_database.reset();
        folder_.leave();
    }

    void tasks_round_trip_in_order_whatever_their_text()
    {
        std::vector<Task> tasks;
        for (const std::string& t : hostile_texts())
            tasks.push_back({"B", "进行中", t});
        tasks.push_back({"D", "已完成", "last"});
        daydata::replace_tasks(db(), "20240305", tasks);
        daydata::replace_tasks(db(), "20240306", {{"A", "进行中", "neighbour"}});
        QCOMPARE(daydata::load_tasks(db(), "20240305"), tasks);
        QVERIFY(db().has_table("vk_schedule"));

        // A second save replaces the rows instead of adding to them.
        std::reverse(tasks.begin(), tasks.end());
        daydata::replace_tasks(db(), "20240305", tasks);
        QCOMPARE(daydata::load_tasks(db(), "20240305"), tasks);
        QCOMPARE(count("SELECT count(*) FROM vk_schedule"), std::to_string(tasks.size() + 1));

        // An empty list leaves the day without rows and the neighbour alone.
        daydata::replace_tasks(db(), "20240305", {});
        QVERIFY(daydata::load_tasks(db(), "20240305").empty());
        QCOMPARE(daydata::load_tasks(db(), "20240306").size(), std::size_t{1});
    }

    void a_failed_task_save_keeps_the_old_rows()
    {
        const std::vector<Task> old{{"A", "进行中", "one"}, {"B", "已完成", "two"}};
        daydata::replace_tasks(db(), "20240305", old);
        fail_third_insert("vk_schedule");
        std::vector<Task> many(5, Task{"C", "进行中", "new"});
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, daydata::replace_tasks(db(), "20240305", many));
        QCOMPARE(daydata::load_tasks(db(), "20240305"), old);
        // The connection is usable again: the next save goes through.
        db().execute("DROP TRIGGER fail_third");
        daydata::replace_tasks(db(), "20240305", many);
        QCOMPARE(daydata::load_tasks(db(), "20240305"), many);
    }

    void an_appended_task_follows_the_days_rows()
    {
        const std::vector<Task> day{{"A", "进行中", "one"}, {"B", "已完成", "two"}};
        daydata::replace_tasks(db(), "20240305", day);
        daydata::append_task(db(), "20240305", {"C", "进行中", "say \"hi\"; --"});
        std::vector<Task> expected = day;
        expected.push_back({"C", "进行中", "say \"hi\"; --"});
        QCOMPARE(daydata::load_tasks(db(), "20240305"), expected);
        QVERIFY(!db().transaction_open());
    }

    void a_moved_task_is_on_exactly_one_day()
    {
        const Task moved{"B", "进行中", "【变更】move me"};
        daydata::replace_tasks(db(), "20240305", {{"A", "进行中", "stay"}, {"B", "进行中", "move me"}});
        daydata::replace_tasks(db(), "20240401", {{"D", "已完成", "there already"}});

        // A failure half-way (the copy's insert aborts) changes neither day.
        db().execute(std::string("CREATE TEMP TRIGGER no_april BEFORE INSERT ON main.vk_schedule "
                                 "WHEN new.sDate = '20240401' BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        QVERIFY_THROWS_EXCEPTION(ESQLiteException,
                                 daydata::move_task(db(), "20240305", {{"A", "进行中", "stay"}}, "20240401", moved));
        QCOMPARE(daydata::load_tasks(db(), "20240305"),
                 (std::vector<Task>{{"A", "进行中", "stay"}, {"B", "进行中", "move me"}}));
        QCOMPARE(daydata::load_tasks(db(), "20240401"), (std::vector<Task>{{"D", "已完成", "there already"}}));

        db().execute("DROP TRIGGER no_april");
        daydata::move_task(db(), "20240305", {{"A", "进行中", "stay"}}, "20240401", moved);
        QCOMPARE(daydata::load_tasks(db(), "20240305"), (std::vector<Task>{{"A", "进行中", "stay"}}));
        QCOMPARE(daydata::load_tasks(db(), "20240401"), (std::vector<Task>{{"D", "已完成", "there already"}, moved}));

        // Moving the only task of a day leaves the day without rows.
        daydata::move_task(db(), "20240305", {}, "20240402", {"A", "进行中", "stay"});
        QVERIFY(daydata::load_tasks(db(), "20240305").empty());
        QCOMPARE(daydata::load_tasks(db(), "20240402").size(), std::size_t{1});
    }

    void marks_tell_whether_a_day_has_rows()
    {
        std::vector<Task> crowded(300, Task{"A", "进行中", "t"});
        daydata::replace_tasks(db(), "20240305", crowded);
        daydata::replace_note(db(), "20240306", "note");
        daydata::replace_tasks(db(), "20240307", {{"A", "进行中", "t"}});
        daydata::replace_note(db(), "20240307", "note");
        const auto marks = [](const char* day) {
            const auto m = daydata::day_marks(db(), day);
            return std::pair{m.tasks, m.note};
        };
        QCOMPARE(marks("20240305"), std::pair(true, false));
        QCOMPARE(marks("20240306"), std::pair(false, true));
        QCOMPARE(marks("20240307"), std::pair(true, true));
        QCOMPARE(marks("20240308"), std::pair(false, false));
        // A key matches its own rows only, not a prefix or a number of it.
        QCOMPARE(marks("2024030"), std::pair(false, false));
        QCOMPARE(marks("020240305"), std::pair(false, false));
    }

    void a_note_is_the_first_row_of_its_day()
    {
        QVERIFY(!daydata::load_note(db(), "20240305"));
        db().execute("INSERT INTO vk_note(sDate,sNote) VALUES ('20240305',NULL)");
        QCOMPARE(daydata::load_note(db(), "20240305"), std::optional<std::string>(""));
        db().execute("DELETE FROM vk_note");
        db().execute("INSERT INTO vk_note(sDate,sNote) VALUES ('20240305','first')");
        db().execute("INSERT INTO vk_note(sDate,sNote) VALUES ('20240305','second')");
        QCOMPARE(daydata::load_note(db(), "20240305"), std::optional<std::string>("first"));

        for (const std::string& text : hostile_texts()) {
            daydata::replace_note(db(), "20240305", text);
            if (text.empty()) {
                QVERIFY(!daydata::load_note(db(), "20240305"));
                QCOMPARE(count("SELECT count(*) FROM vk_note"), std::string("0"));
            } else {
                QCOMPARE(daydata::load_note(db(), "20240305"), std::optional<std::string>(text));
                QCOMPARE(count("SELECT count(*) FROM vk_note"), std::string("1"));
            }
        }
    }

    void a_failed_note_save_keeps_the_old_note()
    {
        daydata::replace_note(db(), "20240305", "old");
        db().execute(
            "CREATE TEMP TRIGGER no_notes BEFORE INSERT ON main.vk_note BEGIN SELECT RAISE(ABORT, 'full'); END");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, daydata::replace_note(db(), "20240305", "new"));
        QCOMPARE(daydata::load_note(db(), "20240305"), std::optional<std::string>("old"));
    }

    void anniversaries_round_trip_as_one_list()
    {
        std::vector<Anniversary> list;
        for (const std::string& t : hostile_texts())
            list.push_back({"2024-02-29", "07", "开启", t});
        list.push_back({"1990-12-31", "99", "关闭", "生日"});
        daydata::replace_anniversaries(db(), list);
        QCOMPARE(daydata::load_anniversaries(db()), list);
        QCOMPARE(count("SELECT group_concat(DISTINCT sourcebz) FROM vk_jnr"), std::string("0"));

        fail_third_insert("vk_jnr");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, daydata::replace_anniversaries(db(), {list[0], list[1], list[2]}));
        QCOMPARE(daydata::load_anniversaries(db()), list);

        db().execute("DROP TRIGGER fail_third");
        daydata::replace_anniversaries(db(), {});
        QVERIFY(daydata::load_anniversaries(db()).empty());
    }

    void daykeys_come_sorted_and_distinct()
    {
        // Days over the whole calendar, stored in random order, some twice.
        std::vector<std::string> days;
        for (int year = 1901; year <= 2050; year += 7)
            for (int month : {1, 6, 12})
                days.push_back(std::to_string(year * 10000 + month * 100 + 15));
        std::vector<std::string> shuffled = days;
        shuffled.insert(shuffled.end(), days.begin(), days.begin() + 10);
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
        SqlTransaction tx(db());
        for (const std::string& d : shuffled) {
            db().execute("INSERT INTO vk_schedule(sDate,lb,sState,sItem) VALUES (?,'A','进行中','t')", {d});
            db().execute("INSERT INTO vk_note(sDate,sNote) VALUES (?,'n')", {d});
        }
        db().execute("INSERT INTO vk_note(sDate,sNote) VALUES (NULL,'no day')");
        tx.commit();
        std::sort(days.begin(), days.end());
        QCOMPARE(daydata::daykeys(db(), daydata::DayTable::Tasks), days);
        QCOMPARE(daydata::daykeys(db(), daydata::DayTable::Notes), days);
    }

    void a_missing_table_is_an_error_not_an_empty_day()
    {
        db().execute("DROP TABLE vk_note");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, daydata::day_marks(db(), "20240305"));
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, daydata::load_note(db(), "20240305"));
    }
};

QTEST_GUILESS_MAIN(TestDaydata)
#include "test_daydata.moc"
