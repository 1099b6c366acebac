#pragma once
// Where the referrers of an addition wait when the site keeps no line values: one
// INI file per 100 line numbers in the "temp" folder of the site's data folder,
// section "Main", entry the line number mod 100. Visit building reads them back and
// clears the folder. Writes are held in memory per file and written when a file is
// done, at the end of a read and on every way out of it (see RefrStoreFlushGuard), so
// a read costs one file write per 100 lines instead of one per line.
#include <functional>
#include <string>

// The site's [Main] domain from dbdef.ini, read once per read run; referrers that
// start with it are the site's own.
inline std::string gSiteDomain;

void STTA_SiteDomainLoad();
// Forgets the domain so that the next read of a run loads it again.
void STTA_SiteDomainReset();

// The store file of the line and its entry.
std::string STTA_RefrStoreFile(long logLnID, std::string& entry);
// Nothing is stored for "-" or an empty referrer; a referrer of the site itself is
// stored as "::::".
void STTA_RefrStore(long logLnID, const std::string& referrer);
// "" when absent or a referrer of the site itself.
std::string STTA_RefrFetch(long logLnID);
// What a fetch would give for the referrer once stored: lines whose visits are built
// while they are read never go through the store, yet must see the same text.
std::string STTA_RefrAsFetched(const std::string& referrer);
// Every stored referrer (after writing what is held in memory), with its line number,
// as STTA_RefrFetch gives it; in no particular order.
void STTA_RefrStoreEach(const std::function<void(long logLnID, const std::string& referrer)>& each);
// Deletes every file of the "temp" folder.
void STTA_RefrStoreClear();
// Writes what is held in memory.
void STTA_RefrStoreFlush();
// Forgets every referrer of a line numbered above `lastLogLnID` (and the pieces of
// writes that never finished): a run that stopped before its lines were committed
// must not hand its referrers to the lines that later take those numbers.
void STTA_RefrStoreDropAbove(long lastLogLnID);

// The "temp" folder of the current site's data folder, ending in "/"; "" when no
// site is set.
std::string STTA_RefrStoreFolder();

// Flushes the store when the scope is left by an exception (Stop included), so that
// what was stored survives for visit building; the normal path flushes itself, so
// that a failed write is reported.
class RefrStoreFlushGuard {
public:
    RefrStoreFlushGuard() = default;
    ~RefrStoreFlushGuard();
    RefrStoreFlushGuard(const RefrStoreFlushGuard&) = delete;
    RefrStoreFlushGuard& operator=(const RefrStoreFlushGuard&) = delete;
};
