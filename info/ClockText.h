#pragma once

class QLocale;
class QString;
class QTime;

namespace orbitra {

// The time of day as a desktop clock shows it: the locale's long time format
// (hours, minutes, seconds, its separators and, where it uses them, its AM/PM
// designators) without the time-zone part and without a date.
QString clockText(const QTime& time, const QLocale& locale);

}  // namespace orbitra
