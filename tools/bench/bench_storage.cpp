// The month view's marks: one question per day of one month, as the month
// view asks it, against data files of realistic size.
#include <benchmark/benchmark.h>

#include <string>

#include "sample_datafile.h"
#include "storage/daydata.h"
#include "storage/sqlite.h"

namespace {

// The marks of one month exactly as the month view asks for them.
int month_marks(TSQLiteDatabase& db, const std::vector<std::string>& keys)
{
    int marks = 0;
    for (const std::string& key : keys) {
        const daydata::DayMarks m = daydata::day_marks(db, key);
        marks += int{m.tasks} + int{m.note};
    }
    return marks;
}

// Redrawing the month on screen, as every click on one of its days does:
// the month view reads its marks inside one read transaction, which takes
// the file lock once instead of once per query.
void month_marks_of(benchmark::State& state, SampleDataFile& file)
{
    TSQLiteDatabase& db = file.db();
    const std::vector<std::string> keys = month_keys(2021, 3);
    for (auto _ : state) {
        SqlTransaction snapshot(db);
        // DoNotOptimize is given the result itself: its lvalue form loses
        // the value under GCC with the sanitizers.
        benchmark::DoNotOptimize(month_marks(db, keys));
        snapshot.commit();
    }
    const int marks = month_marks(db, keys);
    if (marks == 0)
        state.SkipWithError("the month has no marks: the sample data is wrong");
    state.counters["marks"] = marks;
    state.counters["queries"] = static_cast<double>(keys.size());
}

void BM_month_marks(benchmark::State& state) { month_marks_of(state, sample_data_file()); }
BENCHMARK(BM_month_marks)->Unit(benchmark::kMicrosecond);

// The same on a file of a million tasks, about 270 a day.
void BM_month_marks_dense(benchmark::State& state) { month_marks_of(state, dense_data_file()); }
BENCHMARK(BM_month_marks_dense)->Unit(benchmark::kMicrosecond);

// Paging through months: each redraw shows a month not drawn just before.
void month_marks_new_month_of(benchmark::State& state, SampleDataFile& file)
{
    TSQLiteDatabase& db = file.db();
    std::vector<std::vector<std::string>> months;
    for (int y = 2016; y < 2026; ++y)
        for (int m = 1; m <= 12; ++m)
            months.push_back(month_keys(y, m));
    std::size_t next = 0;
    for (auto _ : state) {
        SqlTransaction snapshot(db);
        benchmark::DoNotOptimize(month_marks(db, months[next]));
        snapshot.commit();
        next = (next + 1) % months.size();
    }
}

void BM_month_marks_new_month(benchmark::State& state) { month_marks_new_month_of(state, sample_data_file()); }
BENCHMARK(BM_month_marks_new_month)->Unit(benchmark::kMicrosecond);

void BM_month_marks_new_month_dense(benchmark::State& state) { month_marks_new_month_of(state, dense_data_file()); }
BENCHMARK(BM_month_marks_new_month_dense)->Unit(benchmark::kMicrosecond);

// The same queries each taking the file lock on its own, for comparison.
void BM_month_marks_lock_per_query(benchmark::State& state)
{
    TSQLiteDatabase& db = sample_data_file().db();
    const std::vector<std::string> keys = month_keys(2021, 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(month_marks(db, keys));
}
BENCHMARK(BM_month_marks_lock_per_query)->Unit(benchmark::kMicrosecond);

}  // namespace
