#include "anniversaries/anniversary.h"

#include "storage/daydata.h"

namespace anniversaries {

namespace {

bool all_digits(QStringView text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Enough of a description to recognise it in a message: its first line,
// cut after a few words.
QString short_description(const QString& description)
{
    constexpr int shown = 20;
    const QString text = description.trimmed();
    const QString first_line = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    const bool cut = first_line.size() > shown || first_line.size() < text.size();
    return first_line.left(shown) + (cut ? QStringLiteral("…") : QString());
}

}  // namespace

Entry entry_of(const daydata::Anniversary& row)
{
    return Entry{QString::fromStdString(row.date), QString::fromStdString(row.days), QString::fromStdString(row.state),
                 QString::fromStdString(row.description)};
}

daydata::Anniversary stored_row(const Entry& entry)
{
    return daydata::Anniversary{entry.date.toStdString(), stored_days(entry.days).toStdString(),
                                entry.state.toStdString(), entry.description.toStdString()};
}

std::vector<Entry> entries_of(const std::vector<daydata::Anniversary>& rows)
{
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (const daydata::Anniversary& row : rows)
        entries.push_back(entry_of(row));
    return entries;
}

std::vector<daydata::Anniversary> stored_rows(const std::vector<Entry>& entries)
{
    std::vector<daydata::Anniversary> rows;
    rows.reserve(entries.size());
    for (const Entry& entry : entries)
        rows.push_back(stored_row(entry));
    return rows;
}

// QDate::fromString alone would take one-digit months and days too.
std::optional<QDate> parse_date(const QString& text)
{
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return std::nullopt;
    const QStringView view(text);
    if (!all_digits(view.sliced(0, 4)) || !all_digits(view.sliced(5, 2)) || !all_digits(view.sliced(8, 2)))
        return std::nullopt;
    const QDate date(view.sliced(0, 4).toInt(), view.sliced(5, 2).toInt(), view.sliced(8, 2).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// Four digits at most: more days of notice than that make no sense and
// could not be counted back.
std::optional<int> parse_days(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 4 || !all_digits(digits))
        return std::nullopt;
    return digits.toInt();
}

QString stored_days(const QString& days)
{
    const QString trimmed = days.trimmed();
    if (trimmed.size() == 1 && all_digits(trimmed))
        return QLatin1Char('0') + trimmed;
    return days;
}

std::optional<QDate> reminder_day(const Entry& entry)
{
    const std::optional<QDate> date = parse_date(entry.date);
    const std::optional<int> days = parse_days(entry.days);
    if (!date || !days)
        return std::nullopt;
    const QDate day = date->addDays(-*days);
    if (!day.isValid())
        return std::nullopt;
    return day;
}

bool readable(const Entry& entry) { return reminder_day(entry).has_value(); }

QString reminder_text(const QString& description, int days)
{
    return QStringLiteral("今天距离【") + description + QStringLiteral("】还有") + QString::number(days) +
           QStringLiteral("天！");
}

QString describe_unreadable(const Entry& entry)
{
    return QStringLiteral("纪念日“%1”，提前提醒天数“%2”，说明“%3”")
        .arg(entry.date, entry.days, short_description(entry.description));
}

QString unreadable_message(const QString& lead, const std::vector<Entry>& rows)
{
    QString text = lead;
    for (const Entry& row : rows)
        text += QLatin1Char('\n') + describe_unreadable(row);
    return text;
}

}  // namespace anniversaries
