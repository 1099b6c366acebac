#pragma once
// The progress service behind PIS_Start, PIS_Update, PIS_End and PIS_CloseAll
// (core/progress.h): one window per open report, throttled refreshes, a Stop that
// reaches the operation as run-time error 1066, and a per-report record of the
// seconds each percentage point took. Each report draws on its own window, also
// while a later report is open.
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "core/progress.h"

class ProgressInfoform;

// A refresh interval on the monotonic clock; it restarts itself when found expired.
struct PIS_Interval {
    double Start = 0;
    double Finish = 0;
    bool Expired = false;
};

struct PIS_ReportRec {
    bool Throttled = false;
    PIS_Interval Interval;
    bool ToFront = false;
    long NextPct = 1;
    // "|" list: item k holds the whole seconds from the start when k % was reached.
    std::string Timings;
    // Started and not ended: updates and ends of any other number do nothing.
    bool Open = false;
};

inline long gPISCount = 0;
// The byte 0xA0 that divides the fixed part of a window line from the changing part.
inline std::string gPISSep;
inline long gPISBarColour = 0;
inline long gPISBarBackColour = 0;
// Per report, indexed by report number (element 0 unused); they only grow.
inline std::vector<QPointer<ProgressInfoform>> gPISForms;
inline std::vector<double> gPISStartTime;  // monotonic seconds
inline std::vector<double> gPISBarEnd;     // twips
inline std::vector<int64_t> gPISTotal;
inline std::vector<PIS_ReportRec> gPISRecs;

// The highest report number below `reportNo` whose window is still loaded, or -1.
// Error 1331 when a higher-numbered report still has a window.
long PIS_FindPrevReport(long reportNo);
// The report's timing table in the list dialog.
void PIS_ShowTimings(long reportNo);
// The table's rows, tab-separated: %, seconds, last part seconds, last part %,
// seconds per 1 %, estimated seconds left, estimated total.
std::vector<std::string> PIS_TimingRows(const std::string& timings);

namespace window {

class ProgressWindows : public core::ProgressReports {
public:
    void start(const std::string& message, const std::string& units, int64_t total,
               const std::string& actionName, long& reportNo, double intervalSeconds, int stopMode,
               bool toFront, const std::string& caption) override;
    void update(int64_t& done, const std::string& message, long reportNo,
                PIS_UpdateFlags flags) override;
    void end(long reportNo, bool wait) override;
    void closeAll() override;

private:
    bool windowMade_ = false;
};

}  // namespace window
