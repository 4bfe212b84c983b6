#include "sample_datafile.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "calendar/DateCn.h"
#include "storage/datafile.h"

namespace {

std::string day_key(int year, int month, int day) { return std::to_string(year * 10000 + month * 100 + day); }

}  // namespace

std::vector<std::string> month_keys(int year, int month)
{
    std::vector<std::string> keys;
    for (int d = 1; d <= DateCn::days_in_month(year, month); ++d)
        keys.push_back(day_key(year, month, d));
    return keys;
}

SampleDataFile::SampleDataFile(int task_count, int first_year, int years)
{
    char pattern[] = "/tmp/velkin_bench_XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    folder_ = std::string(pattern) + "/";
    const std::string path = folder_ + "velkin.db";
    create_data_file(path);
    db_ = std::make_unique<TSQLiteDatabase>(path);
    fill(task_count, first_year, years);
}

SampleDataFile::~SampleDataFile()
{
    db_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

// Task i lies on day i * days / task_count of the years, so the tasks
// spread evenly and each day keeps its rows together; SQLite computes the
// rows itself, which fills a million of them in a few seconds.
void SampleDataFile::fill(int task_count, int first_year, int years)
{
    using namespace std::chrono;
    const auto first = sys_days{year{first_year} / 1 / 1};
    const std::int64_t days = (sys_days{year{first_year + years} / 1 / 1} - first).count();
    const std::string start = std::to_string(first_year) + "-01-01";
    SqlTransaction tx(*db_);
    db_->execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?1) "
                 "INSERT INTO vk_schedule(sDate,lb,sState,sItem) "
                 "SELECT strftime('%Y%m%d', ?3, '+' || (i * ?2 / ?1) || ' days'), "
                 "substr('ABCD', i % 4 + 1, 1), CASE WHEN i % 3 THEN '进行中' ELSE '已完成' END, "
                 "'任务 ' || i || '：整理周报并发给同事' FROM n",
                 {std::int64_t{task_count}, days, start});
    db_->execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < 3000) "
                 "INSERT INTO vk_note(sDate,sNote) "
                 "SELECT strftime('%Y%m%d', ?2, '+' || (i * ?1 / 3000) || ' days'), "
                 "'今天的记事便笺，第 ' || i || ' 条' FROM n",
                 {days, start});
    tx.commit();
}

SampleDataFile& sample_data_file()
{
    static SampleDataFile file(100000, 2016, 10);
    return file;
}

SampleDataFile& dense_data_file()
{
    static SampleDataFile file(1000000, 2016, 10);
    return file;
}

SampleDataFile& long_data_file()
{
    static SampleDataFile file(1000000, 1901, 150);
    return file;
}
