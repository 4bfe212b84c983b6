// Benchmarks of the calendar engine: the lunar conversion over its whole
// range, and every text the month view computes for one month.

#include "calendar/DateCn.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

std::vector<DateCn::Date> days_between(DateCn::Date first, DateCn::Date last)
{
    std::vector<DateCn::Date> days;
    for (auto d = std::chrono::sys_days{first}; d <= std::chrono::sys_days{last}; d += std::chrono::days{1})
        days.emplace_back(d);
    return days;
}

void BM_lunar_code_full_range(benchmark::State& state)
{
    const auto days = days_between(DateCn::make_date(1901, 1, 1), DateCn::make_date(2050, 12, 31));
    for (auto _ : state) {
        for (const DateCn::Date& d : days)
            benchmark::DoNotOptimize(DateCn::lunar_code(d));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(days.size()));
}
BENCHMARK(BM_lunar_code_full_range);

// The header and day-cell texts of the month of `selected`.
void month_texts(DateCn::Date selected)
{
    using namespace DateCn;
    std::string header = year_stem(selected) + year_branch_animal(selected);
    header += star_sign_for_day(day_of(selected), selected);
    benchmark::DoNotOptimize(header);

    const int n = days_in_month(selected);
    for (int k = 1; k <= n; ++k) {
        const Date day = make_date(year_of(selected), month_of(selected), k);
        std::string text = lunar_day_name(day);
        if (text == "初一")
            text = lunar_month_name(day);
        benchmark::DoNotOptimize(text);
        std::string observance = gregorian_observance(k, day);
        benchmark::DoNotOptimize(observance);
        std::string term = solar_term_name(day);
        benchmark::DoNotOptimize(term);
        std::string festival = lunar_festival(day);
        benchmark::DoNotOptimize(festival);
    }
}

// Cycles through the months of 2023-2026 so that leap months, New Year's Eve
// and the floating observances all take their turn.
void BM_month_texts(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state) {
        month_texts(DateCn::make_date(2023 + i / 12, i % 12 + 1, 15));
        i = (i + 1) % 48;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_month_texts);

}  // namespace
