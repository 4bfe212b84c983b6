// The day task list against the sample data file of 100,000 tasks: loading
// a day of 50 tasks, writing it back, and a whole change of date with a
// changed list.  Writes keep SQLite's default durability: every commit
// waits for the disk, as it must to survive a power cut.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QDate>

#include "bench_window.h"
#include "sample_datafile.h"
#include "storage/datafile.h"
#include "storage/daydata.h"
#include "tasks/daylist.h"
#include "tasks/taskflags.h"
#include "tasks/taskgrid.h"

namespace {

// Days of their own, outside the sample's ten years, so the other
// benchmarks see the same data whatever runs first.
const std::vector<std::string> fifty_task_days{"20300315", "20300415"};

std::vector<daydata::Task> fifty_tasks()
{
    std::vector<daydata::Task> tasks;
    for (int i = 0; i < 50; ++i)
        tasks.push_back({std::string(1, "ABCD"[i % 4]), i % 3 ? "进行中" : "已完成",
                         "任务 " + std::to_string(i) + "：整理周报并发给同事"});
    return tasks;
}

SampleDataFile& file_with_fifty_task_days()
{
    SampleDataFile& file = sample_data_file();
    for (const std::string& day : fifty_task_days)
        daydata::replace_tasks(file.db(), day, fifty_tasks());
    return file;
}

// app_database on the sample file while a benchmark runs.
struct ProgramDatabase {
    explicit ProgramDatabase(SampleDataFile& file)
    {
        app_database = std::make_unique<TSQLiteDatabase>(file.folder() + "velkin.db");
    }
    ~ProgramDatabase() { app_database.reset(); }
};

void BM_load_schedule(benchmark::State& state)
{
    ProgramDatabase db(file_with_fifty_task_days());
    tasks::TaskGrid grid;
    const QString day = QString::fromStdString(fifty_task_days[0]);
    for (auto _ : state)
        tasks::load_schedule(grid, day);
    if (grid.rowCount() != 50)
        state.SkipWithError("the day does not hold 50 tasks");
}
BENCHMARK(BM_load_schedule)->Unit(benchmark::kMicrosecond);

// One transaction: the day's rows deleted, 50 inserted, one commit.
void BM_save_schedule(benchmark::State& state)
{
    ProgramDatabase db(file_with_fifty_task_days());
    tasks::TaskGrid grid;
    const QString day = QString::fromStdString(fifty_task_days[0]);
    tasks::load_schedule(grid, day);
    for (auto _ : state)
        tasks::savedata2fx_schedule2(grid, day);
    if (daydata::load_tasks(*app_database, fifty_task_days[0]) != fifty_tasks())
        state.SkipWithError("the day was not written back as it stands");
}
BENCHMARK(BM_save_schedule)->Unit(benchmark::kMicrosecond);

// The floor under BM_save_schedule: the same kind of commit with one row.
void BM_one_row_commit(benchmark::State& state)
{
    ProgramDatabase db(file_with_fifty_task_days());
    const std::vector<daydata::Task> one{{"A", "进行中", "一项任务"}};
    for (auto _ : state)
        daydata::replace_tasks(*app_database, "20300501", one);
}
BENCHMARK(BM_one_row_commit)->Unit(benchmark::kMicrosecond);

// From one day of 50 tasks to another with the list changed: the list is
// written back, the month redrawn (after the write and for the new day)
// and the new day's tasks loaded.
void BM_date_change(benchmark::State& state)
{
    const auto window = bench_window(state, file_with_fifty_task_days(), QDate(2030, 3, 15));
    if (!window)
        return;
    window->show();
    QAction* months[] = {window->findChild<QAction*>("MenuMonth_4"), window->findChild<QAction*>("MenuMonth_3")};
    int next = 0;
    for (auto _ : state) {
        tasks::schedule_changed = true;
        months[next]->trigger();
        next = 1 - next;
    }
    if (window->sel_daykey() != QString::fromStdString(fifty_task_days[static_cast<std::size_t>(next)]))
        state.SkipWithError("the date did not change");
}
BENCHMARK(BM_date_change)->Unit(benchmark::kMicrosecond);

}  // namespace
