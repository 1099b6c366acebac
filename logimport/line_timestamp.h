#pragma once
// The date and time of a parsed log line as one date serial: days since 30 December
// 1899, the fraction the time of day. It orders lines, groups visits and decides
// overlaps with earlier additions.
//
// Every date and time part must be a number within its range (day 1 to the month's
// length, month 1-12, hour 0-23 or 24:00:00, minute and second 0-59, a year of up to
// four digits, four-digit ones from 1900 taken as written): a line is never stored
// under a date its text does not name.
#include <string>

#include "logimport/log_format.h"

// The date part from the day, month (number, else name) and year fields; 0 when the
// fields make no date.
long STTA_LineDateSerial(const LogFields& fields);
// Whether the line's date and time are readable and in the calendar; `date` gets the
// date part (0 when they are not).
bool STTA_LineDateTimeHold(const LogFields& fields, long& date);
// The time part as text with eight decimals (".41667824"); "0" parts when unreadable.
std::string STTA_LineTimeText(const LogFields& fields);
// Date plus time, rounded to the second. Also stored in `timestamp`, and in
// `firstTimestamp` while that is still 0.
double STTA_LineTimestamp(const LogFields& fields, double& timestamp, double& firstTimestamp);
// The same with the date part already known (from the split).
double STTA_LineTimestamp(const LogFields& fields, long dateSerial, double& timestamp, double& firstTimestamp);
