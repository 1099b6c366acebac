#pragma once
// The 14-digit time stamps "yyyymmddhhnnss" of the site tables, as text or as the
// number they form, and their conversion to date serials and second counts. Pieces
// are read at fixed positions with TXT_Val, so a missing or non-digit piece counts
// as 0 and out-of-range months and days roll over as DateSerial does. A field value
// is passed as its text, Null as "".
#include <string>
#include <string_view>

// The whole day number of the stamp's date (days since 30 December 1899).
long TBL_StampDatePart(std::string_view stamp);
// The time of day as a fraction of a day.
double TBL_StampTimePart(std::string_view stamp);
// Date part plus time part.
double TBL_StampToDate(std::string_view stamp);
// Seconds from a to b; 0 when equal, 2147483647 when only a is 0, -2147483647 when
// only b is 0.
long TBL_StampDiff(double a, double b);
// The stamp moved on by the seconds (back for a negative number), as 14 digits.
std::string TBL_StampAddSeconds(std::string_view stamp, double seconds);
