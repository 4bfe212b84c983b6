// The main window as the benchmarks start it: on a sample data file, on a
// fixed day, under an instance name of the run's own.
#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <memory>
#include <string>

#include "mainwindow/DateWin.h"
#include "sample_datafile.h"

// The window, or null after telling `state` that it did not start.
inline std::unique_ptr<TFRM_Date> bench_window(benchmark::State& state, const SampleDataFile& file, QDate today)
{
    StartOptions options;
    options.program_folder = file.folder();
    options.today = [today] { return today; };
    options.instance_name = "velkin-bench-" + std::to_string(QCoreApplication::applicationPid());
    auto window = std::make_unique<TFRM_Date>(options);
    if (!window->refused())
        return window;
    state.SkipWithError("the window did not start");
    return nullptr;
}
