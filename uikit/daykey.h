// The DayKey: the eight characters "yyyymmdd" of a Gregorian date, the key
// of a day's tasks and note in the data file.
#pragma once

#include <QDate>
#include <QString>

namespace uikit {

inline QString daykey_of(QDate date) { return date.toString(QStringLiteral("yyyyMMdd")); }

// The date of a DayKey; invalid unless the key is eight digits of a real date.
inline QDate date_of_daykey(const QString& key)
{
    return key.size() == 8 ? QDate::fromString(key, QStringLiteral("yyyyMMdd")) : QDate();
}

}  // namespace uikit
