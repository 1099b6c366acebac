#pragma once
// The date-range dialog that analyses, reports and plots share: a start and an end
// date, quick buttons for every day, whole years and months that hold data, and the
// option controls a caller defines in an INI file. Wrong dates never close it; the
// problems are shown on the next display.
#include <string>

#include "dialogs/extra_controls.h"
#include "dialogs/remembered_controls.h"

struct DateRangeEnterArgs {
    // Day numbers of the stored data; a last day of 0 means none.
    double firstAvailable = 0;
    double lastAvailable = 0;
    // Empty the control arrays before the dates are added.
    bool reset = true;
    // Option controls defined in an INI file, with their remembered values
    // (section "" none).
    MB_RememberedCtls options{};
    // The start date asks for the focus.
    bool focusFirst = false;
    std::string okCaption = "&OK";
};

// Asks for `range` ("start|end"); on acceptance it becomes the two dates as short
// dates. The message follows "Enter date range ". `ctl` may hold the caller's own
// controls (kept when `args.reset` is false). Returns the pressed button in the
// caller's numbering: the caller's buttons, then OK, then Cancel; the quick buttons
// are not counted. Cancel leaves the range as it was.
int STTA_DateRangeEnter(std::string& range, const std::string& message, MB_CtlEntry& ctl,
                        const DateRangeEnterArgs& args);
