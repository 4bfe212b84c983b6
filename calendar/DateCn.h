// DateCn: the Chinese calendar engine.
//
// Pure functions over Gregorian dates: the lunar date (1901-2050) from a
// per-year table, lunar month and day names, traditional festivals, the 24
// solar terms from a per-month table, the sexagenary year, Gregorian
// observances and star signs.  No state, no I/O; all texts are UTF-8.
// Dates outside 1901-2050 never fail: their lunar texts are empty.
#pragma once

#include <chrono>
#include <string>

namespace DateCn {

using Date = std::chrono::year_month_day;

// Signed lunar date: month * 100 + day, negated for a leap month, 0 when
// there is no lunar date.  Consumers take |code| % 100 as the day and
// code / 100 (truncated) as the month.
using LunarCode = int;

constexpr int year_of(Date d) noexcept { return static_cast<int>(d.year()); }
constexpr int month_of(Date d) noexcept { return static_cast<int>(static_cast<unsigned>(d.month())); }
constexpr int day_of(Date d) noexcept { return static_cast<int>(static_cast<unsigned>(d.day())); }
constexpr Date make_date(int y, int m, int d) noexcept
{
    return Date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                std::chrono::day{static_cast<unsigned>(d)}};
}

bool is_leap_year(int year) noexcept;
int days_in_month(int year, int month) noexcept;  // 28-31; 0 for a month outside 1-12
int days_in_month(Date date) noexcept;
int day_of_year(Date date) noexcept;  // 1-366

LunarCode lunar_code(Date date) noexcept;

std::string lunar_month_name(Date date);  // 正月 ... 腊月, 闰二 ...; "" outside the table
std::string lunar_day_name(Date date);  // 初一 ... 三十; "" outside the table
std::string lunar_festival(Date date);  // 春节, 除夕 ...; "" when none

int solar_term_index(int year, int month, int day) noexcept;  // 1-24, 0 when none
std::string solar_term_name(Date date);

std::string year_stem(Date date);  // one character, e.g. 甲
std::string year_branch_animal(Date date);  // two characters, e.g. 辰龙

// The observance on `day` of the month of `date`; only the year and month of
// `date` are used.
std::string gregorian_observance(int day, Date date);
std::string star_sign(Date date);
std::string star_sign_for_day(int day, Date date);

}  // namespace DateCn
