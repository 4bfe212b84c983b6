// An anniversary as the list window and the reminders read it: the stored
// texts of a row of vk_jnr, parsed into the date, the days of notice and
// the day on which it is announced.
#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace daydata {
struct Anniversary;
}

namespace anniversaries {

inline const QString state_on = QStringLiteral("开启");
inline const QString state_off = QStringLiteral("关闭");

// One row of the list, its texts as stored or as entered.
struct Entry {
    QString date;  // "yyyy-mm-dd"
    QString days;  // days of notice, as typed or as stored
    QString state;  // state_on or state_off
    QString description;
    bool operator==(const Entry&) const = default;
};

Entry entry_of(const daydata::Anniversary& row);
// The row as it is stored: the days of notice get a leading zero below 10.
daydata::Anniversary stored_row(const Entry& entry);
std::vector<Entry> entries_of(const std::vector<daydata::Anniversary>& rows);
std::vector<daydata::Anniversary> stored_rows(const std::vector<Entry>& entries);

// The date of a "yyyy-mm-dd" text: four digits, two, two, and a real day.
std::optional<QDate> parse_date(const QString& text);
// The days of notice: a decimal number, blanks around it allowed.
std::optional<int> parse_days(const QString& text);
// "5" becomes "05"; two digits, and anything that is not one digit, stay
// as they are.
QString stored_days(const QString& days);

// The day on which `entry` is announced: its date minus its days of notice.
// Nothing when the date or the days cannot be read.
std::optional<QDate> reminder_day(const Entry& entry);
bool readable(const Entry& entry);

// "今天距离【description】还有n天！"
QString reminder_text(const QString& description, int days);

// One line naming a row that cannot be read, for the messages that list
// such rows.
QString describe_unreadable(const Entry& entry);
// `lead`, then one line per row.
QString unreadable_message(const QString& lead, const std::vector<Entry>& rows);

}  // namespace anniversaries
