#pragma once
// Where the referrers of an addition wait when the site keeps no line values: one
// INI file per 100 line numbers in the "temp" folder of the site's data folder,
// section "Main", entry the line number mod 100. Visit building reads them back and
// clears the folder. Writes are held in memory per file and written when a file is
// done, at the end of a read and when the run ends, however it ends, so a read costs
// one file write per 100 lines instead of one per line.
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "logimport/work_queue.h"

namespace logimport {
class ReferrerStore;
}

// The site's [Main] domain from dbdef.ini, read once per run; referrers that start
// with it are the site's own.
const std::string& STTA_SiteDomainLoad(logimport::ReferrerStore& store);

// The store file of the line and its entry.
std::string STTA_RefrStoreFile(long logLnID, std::string& entry);
// Nothing is stored for "-" or an empty referrer; a referrer of the site itself is
// stored as "::::".
void STTA_RefrStore(logimport::ReferrerStore& store, long logLnID, const std::string& referrer);
// "" when absent or a referrer of the site itself.
std::string STTA_RefrFetch(logimport::ReferrerStore& store, long logLnID);
// What a fetch would give for the referrer once stored: lines whose visits are built
// while they are read never go through the store, yet must see the same text.
std::string STTA_RefrAsFetched(logimport::ReferrerStore& store, const std::string& referrer);
// Every stored referrer (after writing what is held in memory), with its line number,
// as STTA_RefrFetch gives it; in no particular order.
void STTA_RefrStoreEach(logimport::ReferrerStore& store,
                        const std::function<void(long logLnID, const std::string& referrer)>& each);
// Deletes every file of the "temp" folder.
void STTA_RefrStoreClear(logimport::ReferrerStore& store);
// Writes what is held in memory; raises the first failed write.
void STTA_RefrStoreFlush(logimport::ReferrerStore& store);
// Forgets every referrer of a line numbered above `lastLogLnID` (and the pieces of
// writes that never finished): a run that stopped before its lines were committed
// must not hand its referrers to the lines that later take those numbers.
void STTA_RefrStoreDropAbove(logimport::ReferrerStore& store, long lastLogLnID);

// The "temp" folder of the current site's data folder, ending in "/"; "" when no
// site is set.
std::string STTA_RefrStoreFolder();

namespace logimport {

// The referrer store of one import run: the site's domain, the entries of the store
// file being filled, the files already read back, and the queue that writes finished
// files on a thread of its own (creating some ten thousand small files per million
// lines must not hold up the read). A failed write is raised at the next flush or
// fetch and never costs the files handed over after it. The destructor writes what
// is held and never raises: the run flushes first where a failure must be seen.
class ReferrerStore {
public:
    ReferrerStore() = default;
    ~ReferrerStore();
    ReferrerStore(const ReferrerStore&) = delete;
    ReferrerStore& operator=(const ReferrerStore&) = delete;

private:
    friend const std::string& ::STTA_SiteDomainLoad(ReferrerStore&);
    friend void ::STTA_RefrStore(ReferrerStore&, long, const std::string&);
    friend std::string(::STTA_RefrFetch)(ReferrerStore&, long);
    friend void ::STTA_RefrStoreEach(ReferrerStore&, const std::function<void(long, const std::string&)>&);
    friend void ::STTA_RefrStoreClear(ReferrerStore&);
    friend void ::STTA_RefrStoreFlush(ReferrerStore&);
    friend void ::STTA_RefrStoreDropAbove(ReferrerStore&, long);
    // Hands the entries held in memory to the writer.
    void postPending();

    std::string domain_;
    bool domainLoaded_ = false;
    // Entries waiting to be written, all of one store file: numbers go up one by one,
    // so a new file means the one before is complete.
    long pendingFile_ = -1;
    std::map<long, std::string> pending_;
    // Store files already read by fetches, by file number, entry by entry.
    std::unordered_map<long, std::vector<std::string>> fetched_;
    WorkQueue writer_{WorkQueue::AfterFailure::RunRest};
};

}  // namespace logimport
