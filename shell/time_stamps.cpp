#include "shell/time_stamps.h"

#include <cmath>

#include "core/dates.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace {

long piece(std::string_view stamp, long start) {
    return static_cast<long>(core::roundHalfEven(TXT_Val(TXT_MidSafe(stamp, start, 2))));
}

}  // namespace

long TBL_StampDatePart(std::string_view stamp) {
    long year = static_cast<long>(core::roundHalfEven(TXT_Val(TXT_MidSafe(stamp, 1, 4))));
    return static_cast<long>(std::floor(core::vbDateSerial(year, piece(stamp, 5), piece(stamp, 7))));
}

double TBL_StampTimePart(std::string_view stamp) {
    return core::vbTimeSerial(piece(stamp, 9), piece(stamp, 11), piece(stamp, 13));
}

double TBL_StampToDate(std::string_view stamp) { return TBL_StampDatePart(stamp) + TBL_StampTimePart(stamp); }

long TBL_StampDiff(double a, double b) {
    if (a == b) return 0;
    if (a == 0) return 2147483647;
    if (b == 0) return -2147483647;
    std::string ta = core::vbStr(a), tb = core::vbStr(b);
    long days = TBL_StampDatePart(tb) - TBL_StampDatePart(ta);
    long seconds = std::lround((TBL_StampTimePart(tb) - TBL_StampTimePart(ta)) * 86400.0);
    return days * 86400 + seconds;
}

std::string TBL_StampAddSeconds(std::string_view stamp, double seconds) {
    double serial = TBL_StampToDate(stamp) + seconds / 86400.0;
    return TXT_FormatVar(core::DateTime{serial}, "yyyymmddhhnnss");
}
