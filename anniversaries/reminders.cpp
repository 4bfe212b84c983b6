#include "anniversaries/reminders.h"

#include <QTimer>

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "uikit/errors.h"
#include "uikit/hintmessage.h"
#include "uikit/messagebox.h"

namespace anniversaries {

namespace {

QString row_key(const Entry& e)
{
    const QChar separator(0x1F);
    return e.date + separator + e.days + separator + e.state + separator + e.description;
}

}  // namespace

DayCheck check_day(const std::vector<Entry>& list, QDate day)
{
    DayCheck found;
    for (const Entry& entry : list) {
        // Every row is read, also one switched off, so that a row that
        // cannot be read is named whatever its state.
        const std::optional<QDate> reminder = reminder_day(entry);
        if (!reminder)
            found.unreadable.push_back(entry);
        else if (entry.state == state_on && *reminder == day)
            found.due.push_back(entry);
    }
    return found;
}

uikit::HintMessage* show_datehintmess(const QString& text)
{
    auto* window = new uikit::HintMessage(QStringLiteral("frm_datehintmess"), QStringLiteral("纪念日提醒"), text);
    window->show_centred();
    return window;
}

Reminders::Reminders(std::function<QDate()> today, QWidget* owner, QObject* parent)
    : QObject(parent), today_(std::move(today)), owner_(owner), Timer_datecheck(new QTimer(this))
{
    Timer_datecheck->setObjectName(QStringLiteral("Timer_datecheck"));
    Timer_datecheck->setInterval(date_poll_ms);
    connect(Timer_datecheck, &QTimer::timeout, this, &Reminders::check_date_change);
}

void Reminders::check()
{
    const QDate day = today_();
    checked_day_ = day;
    Timer_datecheck->start();
    // After the shutdown save the data file is closed: nothing to check.
    if (!app_database)
        return;
    std::vector<Entry> list;
    if (!uikit::report_errors([&] { list = entries_of(daydata::load_anniversaries(*app_database)); }))
        return;
    const DayCheck found = check_day(list, day);
    announce(found.due, day);
    report_unreadable(found.unreadable);
}

void Reminders::check_date_change()
{
    if (today_() != checked_day_)
        check();
}

void Reminders::announce(const std::vector<Entry>& due, QDate day)
{
    QHash<QString, int> seen_now;
    const QString day_key = day.toString(Qt::ISODate) + QChar(0x1F);
    for (const Entry& entry : due) {
        const QString key = day_key + row_key(entry);
        if (++seen_now[key] <= announced_.value(key))
            continue;
        announced_[key] = seen_now[key];
        show_datehintmess(reminder_text(entry.description, parse_days(entry.days).value_or(0)));
    }
}

void Reminders::report_unreadable(const std::vector<Entry>& unreadable)
{
    std::vector<Entry> fresh;
    for (const Entry& entry : unreadable)
        if (!reported_.contains(row_key(entry))) {
            reported_.insert(row_key(entry));
            fresh.push_back(entry);
        }
    if (!fresh.empty())
        uikit::message_box(owner_, unreadable_message(QStringLiteral("以下纪念日的日期或提前提醒天数无法识别，"
                                                                     "未能检查是否需要提醒："),
                                                      fresh));
}

}  // namespace anniversaries
