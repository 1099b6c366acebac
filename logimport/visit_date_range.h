#pragma once
// The dates the stored visits cover, for the analysis options and the date-range
// command.
#include "platform/dao/database.h"

// First: the earliest start stamp that is not 0; last: the end stamp of the visit
// that starts last. False when table `visit` is empty, with a notice when `showMessage`.
bool STTA_SiteDBDateRange(dao::Database& db, double& first, double& last, bool showMessage);
