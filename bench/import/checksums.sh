#!/usr/bin/env bash
# Prints one checksum per table of a site imported by bench_import (and of the engine
# tallies it wrote), so that two builds can be compared on the same log. Visits are
# named by their first line rather than their number: only the visits themselves and
# the lines in them must agree.
#
# usage: bench/import/checksums.sh PROGRAM_FOLDER
set -euo pipefail
home=${1:?usage: checksums.sh PROGRAM_FOLDER}
db=$home/Bench/data/site1.db
sum() { printf '%-12s %s\n' "$1" "$(sqlite3 "$db" "$2" | md5sum | cut -c1-16)"; }
sum lines "SELECT l.LogLnID, CASE WHEN l.VisitID < 0 THEN l.VisitID ELSE v.StartLogLnID END, l.VisitID IS NULL, l.PageID, l.Bytes, l.CntDupes, l.Timestamp, l.IP
           FROM logline l LEFT JOIN visit v ON v.VisitID = l.VisitID ORDER BY l.LogLnID"
sum visits "SELECT StartLogLnID, StartPageID, StartTimeStamp, EndTimeStamp, Files, FirstIP, CDSIPs, SearchTerm,
            StzdSearchTerm, SearchEngine, CDSClickFurtherPageIDs, CDSBytesClickFurtherPageIDs FROM visit
            ORDER BY StartLogLnID"
sum visitpages "SELECT v.StartLogLnID, p.CDSClickFurtherPageIDs, p.CDSBytesClickFurtherPageIDs
                FROM visitpages p JOIN visit v ON v.VisitID = p.visitID ORDER BY v.StartLogLnID, p.rowid"
sum pages "SELECT PageID, Filename FROM page ORDER BY PageID"
printf '%-12s %s\n' engine-days "$(md5sum <"$home/engine-days.txt" | cut -c1-16)"
sqlite3 "$db" "SELECT 'counts', (SELECT COUNT(*) FROM logline), (SELECT COUNT(*) FROM visit), (SELECT COUNT(*) FROM visitpages)"
