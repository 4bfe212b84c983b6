#include "sample_datafile.h"

#include <cstdlib>
#include <filesystem>

#include "DateCn.h"
#include "datafile.h"

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

SampleDataFile::SampleDataFile()
{
    char pattern[] = "/tmp/velkin_bench_XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    folder_ = std::string(pattern) + "/";
    const std::string path = folder_ + "velkin.db";
    create_data_file(path);
    db_ = std::make_unique<TSQLiteDatabase>(path);
    fill();
}

SampleDataFile::~SampleDataFile()
{
    db_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void SampleDataFile::fill()
{
    std::vector<std::string> days;
    for (int y = 2016; y < 2026; ++y)
        for (int m = 1; m <= 12; ++m)
            for (const auto& key : month_keys(y, m))
                days.push_back(key);

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
                     {days[static_cast<std::size_t>(i) * days.size() / 3000],
                      std::string("今天的记事便笺，第 ") + std::to_string(i) + " 条"});
    tx.commit();
}

SampleDataFile& sample_data_file()
{
    static SampleDataFile file;
    return file;
}
