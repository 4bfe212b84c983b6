// calendar_dump FROM TO: every calendar text of each day from FROM to TO
// (both yyyymmdd, inclusive), one line per day, fields separated by a tab:
//
//   DayKey  lunar code  lunar month  lunar day  festival  solar term
//   observance  stem + branch and animal  star sign
//
// An empty text stays an empty field.  Used to compare the engine's output
// over long ranges of dates.

#include "calendar/DateCn.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

std::optional<DateCn::Date> parse_day_key(std::string_view text)
{
    if (text.size() != 8)
        return std::nullopt;
    int digits[8];
    for (std::size_t i = 0; i < 8; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        digits[i] = text[i] - '0';
    }
    const int y = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const int m = digits[4] * 10 + digits[5];
    const int d = digits[6] * 10 + digits[7];
    if (m < 1 || m > 12 || d < 1)
        return std::nullopt;
    const DateCn::Date date = DateCn::make_date(y, m, d);
    if (!date.ok())
        return std::nullopt;
    return date;
}

void print_day(DateCn::Date date)
{
    using namespace DateCn;
    const std::string line = [&] {
        char key[16];
        std::snprintf(key, sizeof key, "%04d%02d%02d", year_of(date), month_of(date), day_of(date));
        std::string s = key;
        s += '\t';
        s += std::to_string(lunar_code(date));
        for (const std::string& field :
             {lunar_month_name(date), lunar_day_name(date), lunar_festival(date), solar_term_name(date),
              gregorian_observance(day_of(date), date), year_stem(date) + year_branch_animal(date), star_sign(date)}) {
            s += '\t';
            s += field;
        }
        s += '\n';
        return s;
    }();
    std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const auto from = argc == 3 ? parse_day_key(argv[1]) : std::nullopt;
    const auto to = argc == 3 ? parse_day_key(argv[2]) : std::nullopt;
    if (!from || !to || std::chrono::sys_days{*to} < std::chrono::sys_days{*from}) {
        std::fputs("usage: calendar_dump FROM TO\n"
                   "  FROM, TO: dates as yyyymmdd, FROM not after TO; prints one line per day\n",
                   stderr);
        return 2;
    }
    for (auto day = std::chrono::sys_days{*from}; day <= std::chrono::sys_days{*to}; day += std::chrono::days{1})
        print_day(DateCn::Date{day});
    return std::fflush(stdout) == 0 ? 0 : 1;
}
