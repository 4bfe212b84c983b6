// The month view's redraw: header, 37 cells, their texts and the 62 mark
// queries against the sample data file, without painting.
#include <benchmark/benchmark.h>

#include <QDate>

#include "benchwindow.h"

namespace {

void redraw_month_of(benchmark::State& state, SampleDataFile& file)
{
    const auto window = bench_window(file, QDate(2021, 3, 15));
    if (window->refused()) {
        state.SkipWithError("the window did not start");
        return;
    }
    const QDate month(2021, 3, 15);
    for (auto _ : state)
        window->redraw_month(month);
}

void BM_redraw_month(benchmark::State& state) { redraw_month_of(state, sample_data_file()); }
BENCHMARK(BM_redraw_month)->Unit(benchmark::kMicrosecond);

void BM_redraw_month_dense(benchmark::State& state) { redraw_month_of(state, dense_data_file()); }
BENCHMARK(BM_redraw_month_dense)->Unit(benchmark::kMicrosecond);

}  // namespace
