// The DayKey: the eight characters "yyyymmdd" of a Gregorian date, the key
// of a day's tasks and note in the data file.
#pragma once

#include <QDate>
#include <QString>

namespace uikit {

inline QString daykey_of(QDate date) { return date.toString(QStringLiteral("yyyyMMdd")); }

}  // namespace uikit
