#pragma once
// Brings the tables of a site database made by an earlier version to the shape the
// shipped definitions give a new one. Runs when the site is opened; what the tables
// hold is kept, only their indexes change.
#include "platform/dao/database.h"

// The logline index on (VisitID, IP, LogLnID) becomes two: the visit's lines by
// VisitID, and the lines still without a visit by IP and LogLnID. The visit index on
// (FirstIP, StartTimeStamp) becomes one on (FirstIP, EndTimeStamp). True when it did
// either.
bool TBL_SiteTablesUpgrade(dao::Database& db);
