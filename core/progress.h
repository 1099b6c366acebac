#pragma once
// Progress of long operations as the operations see it: start a report, update it
// with the count done inside the loop, end it; on the error path close them all.
// The window toolkit registers the service that shows windows with a Stop button;
// without it, reports only count, raise the caller's count, and deliver a pending
// abort, so Qt-free code and its tests run unchanged.
//
// A confirmed Stop leaves 1066 in gPISAbort; the next refreshing update or the end
// of the report clears it and raises run-time error 1066.
#include <cstdint>
#include <string>

// While set, the calls below do nothing (table building sets it around its work).
inline bool gPISOff = false;
// One-shot: the next report runs without a window; its end (or PIS_CloseAll) clears it.
inline bool gPISQuiet = false;
// The abort word: 1066 after a confirmed Stop. A caller may store the Stop mode here
// and pass Stop mode -1 to PIS_Start.
inline long gPISAbort = 0;

// PIS_Update's switches, named so that no caller can swap them.
struct PIS_UpdateFlags {
    bool increment = false;  // raise the caller's count by 1 first
    bool toFront = false;    // bring the window forward on this refresh
    bool force = false;      // refresh even before the report's interval has passed
};

// Stop mode: 1 Stop asks for confirmation, 2 Stop aborts at once, -1 take the mode
// from gPISAbort, anything else no Stop button. An interval above 0 throttles the
// refreshes and keeps the window hidden until the first refresh.
void PIS_Start(const std::string& message, const std::string& units, int64_t total,
               const std::string& actionName, long& reportNo, double intervalSeconds, int stopMode,
               bool toFront, const std::string& caption = {});
void PIS_Update(int64_t& done, const std::string& message, long reportNo, PIS_UpdateFlags flags = {});
// Reports end in reverse order of starting (error 1331 otherwise).
void PIS_End(long reportNo, bool wait = false);
void PIS_CloseAll();

// Keeps gPISQuiet set for one report and clears it on every way out of the scope,
// also when the report never started.
class PIS_QuietScope {
public:
    PIS_QuietScope() { gPISQuiet = true; }
    ~PIS_QuietScope() { gPISQuiet = false; }
    PIS_QuietScope(const PIS_QuietScope&) = delete;
    PIS_QuietScope& operator=(const PIS_QuietScope&) = delete;
};

// One report with Stop mode 1 that counts its own steps and ends on every way out of
// the scope; when the work inside fails, that error wins over one from the end.
class PIS_Scope {
public:
    PIS_Scope(const std::string& message, const std::string& units, int64_t total, double intervalSeconds) {
        PIS_Start(message, units, total, "", report_, intervalSeconds, 1, false);
    }
    ~PIS_Scope() {
        if (ended_) return;
        try {
            PIS_End(report_);
        } catch (...) {
        }
    }
    PIS_Scope(const PIS_Scope&) = delete;
    PIS_Scope& operator=(const PIS_Scope&) = delete;
    void step() { PIS_Update(done_, "", report_, {.increment = true}); }
    void end() {
        ended_ = true;
        PIS_End(report_);
    }

private:
    long report_ = 0;
    int64_t done_ = 0;
    bool ended_ = false;
};

namespace core {

class ProgressReports {
public:
    virtual ~ProgressReports() = default;
    virtual void start(const std::string& message, const std::string& units, int64_t total,
                       const std::string& actionName, long& reportNo, double intervalSeconds,
                       int stopMode, bool toFront, const std::string& caption) = 0;
    virtual void update(int64_t& done, const std::string& message, long reportNo,
                        PIS_UpdateFlags flags) = 0;
    virtual void end(long reportNo, bool wait) = 0;
    virtual void closeAll() = 0;
};

ProgressReports& progressReports();
// The caller keeps ownership; nullptr restores the windowless service.
void setProgressReports(ProgressReports* reports);

}  // namespace core
