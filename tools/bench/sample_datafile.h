// Data files of realistic size for the benchmarks, each built once per run
// in a folder of its own and removed at exit:
// - sample_data_file(): 100,000 tasks over the ten years 2016-2025 and
//   3,000 notes;
// - dense_data_file(): 1,000,000 tasks over the same ten years (about 270 a
//   day) and 3,000 notes;
// - long_data_file(): 1,000,000 tasks over the 150 years 1901-2050 and
//   3,000 notes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "storage/sqlite.h"

class SampleDataFile {
public:
    // `task_count` tasks and 3,000 notes spread over `years` years from 1 January of `first_year`.
    SampleDataFile(int task_count, int first_year, int years);
    ~SampleDataFile();
    TSQLiteDatabase& db() { return *db_; }
    // The folder holding velkin.db, with a trailing separator.
    const std::string& folder() const { return folder_; }

private:
    void fill(int task_count, int first_year, int years);

    std::string folder_;
    std::unique_ptr<TSQLiteDatabase> db_;
};

SampleDataFile& sample_data_file();
SampleDataFile& dense_data_file();
SampleDataFile& long_data_file();

// The DayKeys of one month, "yyyymmdd".
std::vector<std::string> month_keys(int year, int month);
