#include "core/progress.h"

#include "platform/sys/rt_error.h"

namespace core {
namespace {

class WindowlessReports : public ProgressReports {
public:
    void start(const std::string&, const std::string&, int64_t, const std::string&, long& reportNo,
               double, int stopMode, bool, const std::string&) override {
        if (gPISOff) return;
        if (stopMode != -1) gPISAbort = stopMode;
        if (gPISAbort != sys::kErrUserAbort) gPISAbort = 0;
        reportNo = ++count_;
    }
    void update(int64_t& done, const std::string&, long, PIS_UpdateFlags flags) override {
        if (gPISOff) return;
        if (flags.increment) ++done;
        if (done > 0) deliverAbort("PIS_Update");
    }
    void end(long reportNo, bool) override {
        if (gPISOff) return;
        gPISQuiet = false;
        if (reportNo == 1) count_ = 0;
        deliverAbort("PIS_End");
    }
    void closeAll() override {
        if (gPISOff) return;
        count_ = 0;
        gPISAbort = 0;
        gPISQuiet = false;
    }

private:
    static void deliverAbort(const char* source) {
        if (gPISAbort != sys::kErrUserAbort) return;
        gPISAbort = 0;
        sys::raise(sys::kErrUserAbort, source);
    }
    long count_ = 0;
};

WindowlessReports windowless;
ProgressReports* current = &windowless;

}  // namespace

ProgressReports& progressReports() { return *current; }
void setProgressReports(ProgressReports* reports) { current = reports ? reports : &windowless; }

}  // namespace core

void PIS_Start(const std::string& message, const std::string& units, int64_t total,
               const std::string& actionName, long& reportNo, double intervalSeconds, int stopMode,
               bool toFront, const std::string& caption) {
    core::progressReports().start(message, units, total, actionName, reportNo, intervalSeconds,
                                  stopMode, toFront, caption);
}

void PIS_Update(int64_t& done, const std::string& message, long reportNo, PIS_UpdateFlags flags) {
    core::progressReports().update(done, message, reportNo, flags);
}

void PIS_End(long reportNo, bool wait) { core::progressReports().end(reportNo, wait); }

void PIS_CloseAll() { core::progressReports().closeAll(); }
