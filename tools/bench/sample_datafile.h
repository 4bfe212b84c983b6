// A data file of realistic size for the benchmarks: 100,000 tasks spread
// over the ten years 2016-2025 and 3,000 notes.  Built once per run in a
// folder of its own, removed at exit.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sqlite.h"

class SampleDataFile {
public:
    SampleDataFile();
    ~SampleDataFile();
    TSQLiteDatabase& db() { return *db_; }
    // The folder holding velkin.db, with a trailing separator.
    const std::string& folder() const { return folder_; }

private:
    void fill();

    std::string folder_;
    std::unique_ptr<TSQLiteDatabase> db_;
};

SampleDataFile& sample_data_file();

// The DayKeys of one month, "yyyymmdd".
std::vector<std::string> month_keys(int year, int month);
