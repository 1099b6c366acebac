#pragma once
// Robot preprocessing's filters: the user agents found on the lines that asked for
// robots.txt are offered as new robot filters, less those on the skip list or
// satisfying a skip filter (both kept in gIniPPFindBotsSkipUAs); and the report of what
// each robot filter rejected during a test read.
#include "core/typed_array.h"

// Removes every user agent that satisfies one of the skip filters, with its count
// (items from 1).
void STTA_SkipUAsApply(core::StrArray& userAgents, core::LngArray& counts);
