#pragma once

#include "session/EventNotes.h"
#include "session/SpreadsheetCells.h"

#include <QString>

#include <string>

class QLocale;

namespace vorn {

// A step's date as the History window shows it: the user's short date format, always with the full year,
// since a date typed back with two digits could not tell 2026 from 1926. Stored dates stay ISO 8601.
QString shortDateFormat(const QLocale& locale);
QString shownDate(const std::string& isoDate, const QLocale& locale);

// The day a user typed: in the format shownDate writes, with a two-digit year of this century, or as ISO
// 8601. Text that names no day gives numbers that make none, so that the session refuses it in its words.
CalendarDay typedDay(const QString& typed, const QLocale& locale);

// Whether the user's dates give the day or the month first, which decides a file's 03/04/2026.
DateOrder dateOrder(const QLocale& locale);

} // namespace vorn
