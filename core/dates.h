#pragma once
// Date serials (days since 30 December 1899, the fraction the time of day) with the
// VB rules the stored data relies on, and the program's date routines on top. "Now"
// comes from the injectable clock.
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "core/variant.h"

namespace core {

inline constexpr double kMinDateSerial = -657434;    // 1 January 100
inline constexpr double kMaxDateSerial = 2958466;    // just past 31 December 9999
// Whether a Date holds the serial: from 1 January 100 to the end of 31 December 9999.
inline bool isDateSerial(double serial) { return std::trunc(serial) >= kMinDateSerial && serial < kMaxDateSerial; }

// English names, whatever the locale: formatted dates are stored and read back.
inline constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
inline constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};

// The month (1-12) of an English month name or its first three letters, any case;
// 0 for any other word.
int monthFromName(std::string_view word);

struct DateParts {
    int year, month, day, hour, minute, second;
};

// VB DateSerial: years 0-29 are 2000-2029 and 30-99 are 1930-1999; months and days
// outside their ranges roll over (month 13 is January of the next year, day 0 the last
// day of the month before). Error 6 when an argument exceeds 16 bits, error 5 when
// the date falls outside the years 100 to 9999.
double vbDateSerial(long year, long month, long day);
// VB TimeSerial: the time of the seconds, rolling over days (24:00:00 is 1.0).
double vbTimeSerial(long hour, long minute, long second);
// The calendar parts of a serial, its time rounded to the second. Error 5 out of range.
DateParts dateParts(double serial);
// Whole calendar days and the second of the day, as one count of seconds (a
// serial's time rounded to the second); differences are true elapsed seconds.
long long serialSeconds(double serial);
int vbYear(double serial);
int vbMonth(double serial);
int vbDay(double serial);
int vbHour(double serial);
int vbMinute(double serial);
int vbSecond(double serial);
int vbWeekday(double serial);  // 1 = Sunday
int dayOfYear(double serial);

double vbNow();   // date and time from the clock
double vbDate();  // today, no time
double vbTime();  // time of day only

// Reads "yyyy-mm-dd", "d/m/yyyy" (the month also as an English name or its first three
// letters, "1/Dec/2000"), "d mmm yyyy" ("01 Dec 2000") or a date serial, each optionally followed by a time "hh:nn"
// or "hh:nn:ss"; or a time alone. Nothing when the text is no valid date.
std::optional<double> parseDateText(std::string_view text);
// The value as a date serial: numbers as serials, texts as parseDateText reads them.
// Nothing for the empty value, unreadable text and serials out of range.
std::optional<double> toDateSerial(const Variant& value);

}  // namespace core

// The whole-day number of a date value; 0 when the value is not a date.
long TXT_DateFromParts(const core::Variant& value);
// The time of day with the seconds dropped; the empty value when it is not a date.
core::Variant TXT_TimeShort(const core::Variant& value);
// The earlier of two dates as passed in (time kept). `isFirst` tells whether a was
// taken. A value that is not a date is ignored; when neither is a date, 0.
double MINMAX_MaxDate(const core::Variant& a, const core::Variant& b, bool& isFirst);
// True when the ranges overlap; ends may come in either order, one shared day counts.
bool TXT_DateRangesOverlap(const core::Variant& start1, const core::Variant& end1,
                           const core::Variant& start2, const core::Variant& end2);
// Day numbers of the first and last days of this year, this month, last year and last
// month, from today's date.
void TXT_YearMonthRange(long& thisYearFirst, long& thisYearLast, long& thisMonthFirst,
                        long& thisMonthLast, long& lastYearFirst, long& lastYearLast,
                        long& lastMonthFirst, long& lastMonthLast);
// "3 hours", "1 day before": the largest unit whose boundary lies between the times,
// counting day, minute and (with a second word) second boundaries.
std::string TXT_ElapsedText(double time1, double time2, std::string_view dayWord = "day",
                            std::string_view hourWord = "hour",
                            std::string_view minuteWord = "minute",
                            std::string_view lessThanMinute = "less than one minute",
                            bool beforeAfter = false,
                            std::string_view beforeAfterList = "before|after",
                            std::string_view secondWord = {});
