// The month view's marks: two queries per day of one month against a data
// file of realistic size (100,000 tasks over ten years, 3,000 notes).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "datafile.h"
#include "sqlite.h"

namespace {

// "yyyymmdd" for years 1000-9999.
std::string day_key(int year, int month, int day) { return std::to_string(year * 10000 + month * 100 + day); }

bool is_leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && is_leap(y) ? 29 : days[m - 1];
}

// Built once per run in a folder of its own and removed at exit.
class SampleDataFile {
public:
    SampleDataFile() {
        char pattern[] = "/tmp/velkin_bench_XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        folder_ = pattern;
        const std::string path = folder_ + "/velkin.db";
        create_data_file(path);
        db_ = std::make_unique<TSQLiteDatabase>(path);
        fill();
    }
    ~SampleDataFile() {
        db_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TSQLiteDatabase& db() { return *db_; }

private:
    void fill() {
        std::vector<std::string> days;
        for (int y = 2016; y < 2026; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int d = 1; d <= days_in(y, m); ++d) days.push_back(day_key(y, m, d));

        SqlTransaction tx(*db_);
        const char* categories[] = {"A", "B", "C", "D"};
        for (int i = 0; i < 100000; ++i) {
            const std::string& day = days[static_cast<std::size_t>(i) * days.size() / 100000];
            db_->execute("INSERT INTO vk_schedule(sDate,lb,sState,sItem) VALUES (?,?,?,?)",
                         {day, std::string(categories[i % 4]), std::string(i % 3 ? "进行中" : "已完成"),
                          "任务 " + std::to_string(i) + "：整理周报并发给同事"});
        }
        for (int i = 0; i < 3000; ++i)
            db_->execute("INSERT INTO vk_note(sDate,sNote) VALUES (?,?)",
                         {days[static_cast<std::size_t>(i) * days.size() / 3000], std::string("今天的记事便笺，第 ") + std::to_string(i) + " 条"});
        tx.commit();
    }

    std::string folder_;
    std::unique_ptr<TSQLiteDatabase> db_;
};

SampleDataFile& sample() {
    static SampleDataFile file;
    return file;
}

std::vector<std::string> month_keys(int year, int month) {
    std::vector<std::string> keys;
    for (int d = 1; d <= days_in(year, month); ++d) keys.push_back(day_key(year, month, d));
    return keys;
}

// The marks of one month exactly as the month view asks for them.
int month_marks(TSQLiteDatabase& db, const std::vector<std::string>& keys) {
    int marks = 0;
    for (const std::string& key : keys) {
        if (db.query("SELECT * FROM vk_schedule where sDate=" + key).row_count() >= 1) ++marks;
        if (db.query("SELECT * FROM vk_note where sDate=" + key).row_count() >= 1) ++marks;
    }
    return marks;
}

// Redrawing the month on screen, as every click on one of its days does.
void BM_month_marks(benchmark::State& state) {
    TSQLiteDatabase& db = sample().db();
    const std::vector<std::string> keys = month_keys(2021, 3);
    // DoNotOptimize is given the result itself: its lvalue form loses the
    // value under GCC with the sanitizers.
    for (auto _ : state) benchmark::DoNotOptimize(month_marks(db, keys));
    const int marks = month_marks(db, keys);
    if (marks == 0) state.SkipWithError("the month has no marks: the sample data is wrong");
    state.counters["marks"] = marks;
    state.counters["queries"] = static_cast<double>(keys.size() * 2);
}
BENCHMARK(BM_month_marks)->Unit(benchmark::kMicrosecond);

// Paging through months: each redraw shows a month not drawn just before,
// so no compiled query can be reused.
void BM_month_marks_new_month(benchmark::State& state) {
    TSQLiteDatabase& db = sample().db();
    std::vector<std::vector<std::string>> months;
    for (int y = 2016; y < 2026; ++y)
        for (int m = 1; m <= 12; ++m) months.push_back(month_keys(y, m));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(month_marks(db, months[next]));
        next = (next + 1) % months.size();
    }
}
BENCHMARK(BM_month_marks_new_month)->Unit(benchmark::kMicrosecond);

// The same redraw inside one read transaction, which takes the file lock
// once instead of once per query.
void BM_month_marks_one_transaction(benchmark::State& state) {
    TSQLiteDatabase& db = sample().db();
    const std::vector<std::string> keys = month_keys(2021, 3);
    for (auto _ : state) {
        SqlTransaction snapshot(db);
        benchmark::DoNotOptimize(month_marks(db, keys));
        snapshot.commit();
    }
}
BENCHMARK(BM_month_marks_one_transaction)->Unit(benchmark::kMicrosecond);

}  // namespace
