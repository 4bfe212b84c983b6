// The main window as the benchmarks open it: over a sample data file, on a
// fixed "today", under an instance name of the benchmark process's own.
#pragma once

#include <QCoreApplication>
#include <QDate>
#include <memory>
#include <string>

#include "mainwindow/DateWin.h"
#include "sample_datafile.h"

inline std::unique_ptr<TFRM_Date> bench_window(SampleDataFile& file, QDate today)
{
    StartOptions options;
    options.program_folder = file.folder();
    options.today = [today] { return today; };
    options.instance_name = "velkin-bench-" + std::to_string(QCoreApplication::applicationPid());
    return std::make_unique<TFRM_Date>(options);
}
