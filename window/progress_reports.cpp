#include "window/progress_reports.h"

#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/colours.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "window/event_guard.h"
#include "window/placement.h"
#include "window/progress_window.h"

namespace {

const std::string kTagPrefix = "Progress report no: ";
constexpr int kErrReportOrder = 1331;
constexpr const char* kTimingHeader =
    "%\tTtl Secs\tLast Part Secs\tLast Part %\tSecs per 1%\tEst Secs rest\tEst Secs total";
constexpr const char* kTimingGridSpec =
    "3900|9000||||||||1|1|{450|540|450|450|450|540|540}||||||||{720|0|0}";

double now() { return sys::clock().monotonicSeconds(); }

long wholeSecondsSince(double start) { return static_cast<long>(std::floor(now() - start)); }

bool isOpen(long n) {
    return n >= 1 && n < static_cast<long>(gPISRecs.size()) && gPISRecs[n].Open;
}

bool expiredRestart(PIS_Interval& interval) {
    const double t = now();
    if (t <= interval.Finish) return false;
    const double length = interval.Finish - interval.Start;
    interval = {t, t + length, true};
    return true;
}

std::string grouped(int64_t value) { return TXT_FormatDbl(static_cast<double>(value), "###,###,###,##0"); }

void growTo(long n) {
    const size_t size = static_cast<size_t>(n) + 1;
    if (gPISRecs.size() >= size) return;
    gPISForms.resize(size);
    gPISStartTime.resize(size);
    gPISBarEnd.resize(size);
    gPISTotal.resize(size);
    gPISRecs.resize(size);
}

void applyStopMode(ProgressInfoform* w, int stopMode) {
    ui::setTag(w->fCancel, "");
    if (stopMode != -1) gPISAbort = stopMode;
    if (gPISAbort == 1) {
        w->fCancel->show();
        gPISAbort = 0;
    } else if (gPISAbort == 2) {
        w->fCancel->show();
        std::string tag = ui::tag(w->fCancel);
        CHUNKS_Set(3, tag, "True");  // no confirmation
        ui::setTag(w->fCancel, tag);
        gPISAbort = 0;
    } else {
        w->fCancel->hide();  // a pending 1066 survives mode -1; mode 0 has cleared it
    }
}

void deliverAbort(const char* source) {
    if (gPISAbort != sys::kErrUserAbort) return;
    gPISAbort = 0;
    sys::raise(sys::kErrUserAbort, source);
}

// Keeps a finished report on screen until the user presses OK.
void holdForOk(ProgressInfoform* w) {
    w->hide();
    w->fCancel->hide();
    w->fOK->show();
    w->setInfoLine(w->infoLine() + " Completed. Press OK to continue.");
    w->show();
    w->fOK->setFocus();
    w->hide();
    const int saved = core::ui().mousePointer();
    MSE_PointerDefault();
    MSE_ShowModal(w);
    MSE_PointerSet(saved);
}

void refreshLines(ProgressInfoform* w, long n, int64_t done, const std::string& message, double p) {
    std::string units = w->unitsLine();
    if (!units.empty()) {
        const size_t sep = units.find(gPISSep);
        units = sep == std::string::npos ? grouped(done) : grouped(done) + units.substr(sep);
        w->setUnitsLine(units);
    }
    const std::string action = w->actionLine();
    const size_t sep = action.find(gPISSep);
    w->setActionLine(sep == std::string::npos ? message : action.substr(0, sep + gPISSep.size()) + message);
    w->fTimesteplabel->setText(QString::number(wholeSecondsSince(gPISStartTime[n])));
    w->fTimetotallabel->setText(QString::number(wholeSecondsSince(gPISStartTime[1])));
    const QString title = w->windowTitle();
    const int pct = title.indexOf(QStringLiteral("% "));
    w->setWindowTitle(QString::fromStdString(TXT_FormatDbl(p, "#,###,##0")) + "% " +
                      (pct < 0 ? title : title.mid(pct + 2)));
}

}  // namespace

long PIS_FindPrevReport(long reportNo) {
    long result = -1;
    for (QWidget* form : ui::loadedForms()) {
        const std::string t = ui::tag(form);
        if (t.compare(0, kTagPrefix.size(), kTagPrefix) != 0) continue;
        const long v = core::wholeOf<long>(TXT_Val(t.substr(kTagPrefix.size())));
        if (v > reportNo)
            throw sys::RtError(kErrReportOrder,
                               "Progress report " + std::to_string(reportNo) +
                                   " ended while report " + std::to_string(v) + " is still open.",
                               "PIS_FindPrevReport");
        if (v != reportNo && v > result) result = v;
    }
    return result;
}

std::vector<std::string> PIS_TimingRows(const std::string& timings) {
    std::vector<std::string> rows;
    const long count = timings.empty() ? 0 : CHUNKS_Count(timings);
    double pp = 0, ps = 0;
    for (long i = 1; i <= count; ++i) {
        const std::string item = CHUNKS_Get(i, timings);
        if (item.empty()) continue;
        const double k = static_cast<double>(i);
        const double s = TXT_Val(item);
        const double perPct = (s - ps) / (k - pp);
        const double rest = (100 - k) * perPct;
        rows.push_back(core::vbStr(k) + "\t" + core::vbStr(s) + "\t" + core::vbStr(s - ps) + "\t" +
                       core::vbStr(k - pp) + "\t" + core::vbStr(perPct) + "\t" + core::vbStr(rest) +
                       "\t" + core::vbStr(s + rest));
        pp = k;
        ps = s;
    }
    return rows;
}

void PIS_ShowTimings(long reportNo) {
    if (reportNo < 1 || reportNo >= static_cast<long>(gPISRecs.size())) return;
    core::ui().listDlg(PIS_TimingRows(gPISRecs[reportNo].Timings), kTimingHeader, kTimingGridSpec,
                       "&Continue", " continue button to resume processing.", "");
    if (!gPISQuiet && gPISForms[reportNo]) gPISForms[reportNo]->raise();
}

namespace window {

void ProgressWindows::start(const std::string& message, const std::string& units, int64_t total,
                            const std::string& actionName, long& reportNo, double intervalSeconds,
                            int stopMode, bool toFront, const std::string& caption) {
    gPISSep = "\xA0";
    if (gPISOff) return;
    gPISBarColour = ui::rgb(0, 255, 0);
    gPISBarBackColour = ui::rgb(255, 255, 255);
    const long n = ++gPISCount;
    reportNo = n;
    growTo(n);
    PIS_ReportRec& rec = gPISRecs[n];
    rec = {};
    rec.Open = true;
    rec.ToFront = toFront;
    if (intervalSeconds > 0) {
        rec.Throttled = true;
        rec.Interval = {now(), now() + intervalSeconds, false};
    }

    // A quiet report has no window at all, so there is nothing to leak.
    ProgressInfoform* w = gPISQuiet ? nullptr : new ProgressInfoform;
    gPISForms[n] = w;
    if (w) {
        windowMade_ = true;
        w->Form_Load();
        w->adjustSize();
        POS_FormPlace(w);
        ui::setTag(w, kTagPrefix + std::to_string(n));
        if (!caption.empty()) w->setWindowTitle(ui::toQString(caption));
        w->setWindowTitle(".% " + w->windowTitle());
        applyStopMode(w, stopMode);
        w->setInfoLine(message);
        w->setUnitsLine(units.empty() ? std::string()
                                      : "0" + gPISSep + units + " of " + grouped(total) + " completed.");
        w->setActionLine(actionName + gPISSep);
    }
    gPISTotal[n] = total;
    gPISStartTime[n] = now();
    gPISBarEnd[n] = 0;
    if (w) {
        w->fOpProgressBarpicture->setColours(gPISBarColour, gPISBarBackColour);
        w->fOpProgressBarpicture->clear();
        if (rec.Throttled) {
            w->hide();  // shown at the first refresh, so a short operation never shows one
        } else {
            w->show();
            if (toFront) ACTIVAT_ForceForeground(w);
        }
        MSE_DoEvents();
    }
    gPISRecs[n].NextPct = 1;
    gPISRecs[n].Timings.clear();
}

void ProgressWindows::update(int64_t& done, const std::string& message, long reportNo,
                             PIS_UpdateFlags flags) {
    if (gPISOff) return;
    if (flags.increment) ++done;
    if (!isOpen(reportNo)) return;
    const long n = reportNo;
    QPointer<ProgressInfoform> w = gPISForms[n];
    if (gPISRecs[n].Throttled) {
        if (!expiredRestart(gPISRecs[n].Interval) && !flags.force) return;
        if (w && !w->isVisible()) w->show();
        if (w && flags.toFront) ACTIVAT_ForceForeground(w);
    }
    double p = gPISTotal[n] == 0 ? 0 : static_cast<double>(done) * 100.0 / static_cast<double>(gPISTotal[n]);
    if (p <= 0) return;
    if (p > 100) p = 100;

    if (w) {
        ProgressBarPicture* bar = w->fOpProgressBarpicture;
        const double x = bar->widthTwips() * p / 100;
        bar->paintBox(gPISBarEnd[n], x);
        gPISBarEnd[n] = x;
        w->fOpProgressWordslabel->setText(QString::fromStdString(TXT_FormatDbl(p, "#0")) + " %");
        w->fOpProgressWordslabel->setVisible(p >= 1);
    }
    if (w && !gPISQuiet) {
        refreshLines(w, n, done, message, p);
        MSE_DoEvents();
    }
    PIS_ReportRec& rec = gPISRecs[n];
    if (p > rec.NextPct) {
        rec.NextPct = static_cast<long>(std::nearbyint(p + 1));
        CHUNKS_Set(rec.NextPct - 1, rec.Timings, std::to_string(wholeSecondsSince(gPISStartTime[n])));
    }
    deliverAbort("PIS_Update");
}

void ProgressWindows::end(long reportNo, bool wait) {
    if (gPISOff) return;
    // One report long, whichever way this ends.
    struct QuietEnds {
        ~QuietEnds() { gPISQuiet = false; }
    } quietEnds;
    if (!isOpen(reportNo)) return;
    const long n = reportNo;
    QPointer<ProgressInfoform> w = gPISForms[n];
    if (!gPISQuiet) {
        MSE_DoEvents();
        deliverAbort("PIS_End");  // the window stays; the error path closes it
        if (w && (wait || w->infoLine().compare(0, 3, "!!.") == 0)) holdForOk(w);
    }
    const long prev = PIS_FindPrevReport(n);
    if (n == 1) {
        gPISCount = 0;
        gPISAbort = 0;
    }
    if (w) {
        w->fOpProgressBarpicture->clear();
        w->fOpProgressWordslabel->clear();
    }
    if (!gPISQuiet) {
        if (prev != -1 && gPISRecs[n].ToFront && gPISForms[prev]) ACTIVAT_ForceForeground(gPISForms[prev]);
        if (w) ui::unloadForm(w);
        gPISForms[n] = nullptr;
    }
    gPISRecs[n].Open = false;
}

void ProgressWindows::closeAll() {
    if (gPISOff) return;
    gPISQuiet = false;
    for (auto& rec : gPISRecs) rec.Open = false;
    if (!windowMade_) return;
    for (QWidget* form : ui::loadedForms())
        if (ui::tag(form).compare(0, kTagPrefix.size(), kTagPrefix) == 0) ui::unloadForm(form);
    for (auto& form : gPISForms) form = nullptr;
    MSE_PointerDefault();
    gPISCount = 0;
    gPISAbort = 0;
}

}  // namespace window
