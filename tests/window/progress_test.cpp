#include "window/progress_reports.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "window/event_guard.h"
#include "window/progress_window.h"
#include "window_fixture.h"

namespace {

const std::string kSep = "\xA0";

class ProgressTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        sys::setClock(&clock_);
        core::setProgressReports(&service_);
    }
    void TearDown() override {
        PIS_CloseAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::setProgressReports(nullptr);
        sys::setClock(nullptr);
        gPISOff = false;
        gPISAbort = 0;
        WindowTest::TearDown();
    }

    long start(int64_t total, double interval, int stopMode, bool toFront = false) {
        long n = 0;
        PIS_Start("Reading log files.", "rows", total, "Reading", n, interval, stopMode, toFront);
        return n;
    }
    static ProgressInfoform* windowOf(long n) { return gPISForms.at(n); }
    // The error number an update or end raises, 0 for none.
    static int raised(const std::function<void()>& f) {
        try {
            f();
        } catch (const sys::RtError& e) {
            return e.number();
        }
        return 0;
    }
    static int updateTo(long n, int64_t done, PIS_UpdateFlags flags = {}) {
        return raised([&] { PIS_Update(done, "", n, flags); });
    }

    sys::ManualClock clock_;
    window::ProgressWindows service_;
};

TEST_F(ProgressTest, StopWithoutConfirmationArrivesAtTheNextRefreshingUpdateOnly) {
    const long n = start(100, 0, 2);
    ProgressInfoform* w = windowOf(n);
    ASSERT_TRUE(w->isVisible());
    ASSERT_TRUE(w->fCancel->isVisible());
    QTest::mouseClick(w->fCancel, Qt::LeftButton);
    EXPECT_TRUE(qt_.messages.empty());  // no question asked
    EXPECT_EQ(gPISAbort, 1066);

    EXPECT_EQ(updateTo(n, 0), 0);  // nothing done yet: the abort waits
    EXPECT_EQ(gPISAbort, 1066);
    EXPECT_EQ(updateTo(n, 10), 1066);
    EXPECT_EQ(gPISAbort, 0);
    EXPECT_EQ(updateTo(n, 20), 0);  // delivered once
}

TEST_F(ProgressTest, AThrottledUpdateBeforeItsIntervalNeitherShowsNorDelivers) {
    const long n = start(100, 2, 2);
    ProgressInfoform* w = windowOf(n);
    EXPECT_FALSE(w->isVisible());
    w->fCancel->click();
    clock_.advance(1);
    EXPECT_EQ(updateTo(n, 10), 0);
    EXPECT_FALSE(w->isVisible());
    clock_.advance(1.1);
    EXPECT_EQ(updateTo(n, 20), 1066);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(ProgressTest, AReportShorterThanItsIntervalNeverShowsAWindow) {
    struct ShowCounter : QObject {
        int shows = 0;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show && qobject_cast<ProgressInfoform*>(o)) ++shows;
            return false;
        }
    } counter;
    qApp->installEventFilter(&counter);
    const long n = start(100, 2, 2);
    for (int64_t done = 1; done <= 100; ++done) {
        clock_.advance(0.01);
        EXPECT_EQ(updateTo(n, done), 0);
    }
    PIS_End(n);
    EXPECT_EQ(counter.shows, 0);
}

TEST_F(ProgressTest, AForcedUpdateRefreshesAtOnce) {
    const long n = start(100, 2, 0);
    EXPECT_EQ(updateTo(n, 10, {.force = true}), 0);
    EXPECT_TRUE(windowOf(n)->isVisible());
}

TEST_F(ProgressTest, StopWithConfirmationAsksAndCancelLeavesNothingPending) {
    const long n = start(100, 0, 1);
    ProgressInfoform* w = windowOf(n);
    qt_.answers = {2, 1};
    w->fCancel->click();
    ASSERT_EQ(qt_.messages.size(), 1u);
    EXPECT_EQ(qt_.messages[0], "Abort requested. Press OK to confirm abort or Cancel to continue.");
    EXPECT_EQ(gPISAbort, 0);
    EXPECT_EQ(updateTo(n, 10), 0);
    w->fCancel->click();
    EXPECT_EQ(gPISAbort, 1066);
    EXPECT_EQ(raised([&] { PIS_End(n); }), 1066);  // the end delivers it too
    EXPECT_TRUE(ui::isLoaded(w));                  // the error path closes it
}

TEST_F(ProgressTest, StopModeFromTheAbortWordAndModeZeroClearsAPendingAbort) {
    gPISAbort = 1;
    long n = start(100, 0, -1);
    EXPECT_TRUE(windowOf(n)->fCancel->isVisible());
    EXPECT_EQ(ui::tag(windowOf(n)->fCancel), "");  // with confirmation
    PIS_End(n);

    gPISAbort = 1066;
    n = start(100, 0, 0);
    EXPECT_FALSE(windowOf(n)->fCancel->isVisible());
    EXPECT_EQ(gPISAbort, 0);
    PIS_End(n);
}

TEST_F(ProgressTest, CloseBoxAndEscActAsStopAndNeverCloseTheWindow) {
    const long n = start(100, 0, 2);
    ProgressInfoform* w = windowOf(n);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(gPISAbort, 1066);
    EXPECT_TRUE(w->isVisible());
    gPISAbort = 0;
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(gPISAbort, 1066);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(ProgressTest, UpdateWritesCountsMessageCaptionAndBar) {
    const long n = start(5000, 0, 0);
    ProgressInfoform* w = windowOf(n);
    EXPECT_EQ(w->unitsLine(), "0" + kSep + "rows of 5,000 completed.");
    EXPECT_TRUE(w->windowTitle().startsWith(".% "));
    int64_t done = 1233;
    PIS_Update(done, "access.log", n, {.increment = true});
    EXPECT_EQ(done, 1234);
    EXPECT_EQ(w->unitsLine(), "1,234" + kSep + "rows of 5,000 completed.");
    EXPECT_EQ(w->actionLine(), "Reading" + kSep + "access.log");
    EXPECT_EQ(w->fOpProgressWordslabel->text(), "25 %");
    EXPECT_TRUE(w->windowTitle().startsWith("25% Dravolin - status"));

    done = 9000;  // beyond the total
    PIS_Update(done, "", n);
    EXPECT_EQ(w->fOpProgressWordslabel->text(), "100 %");
    EXPECT_EQ(w->actionLine(), "Reading" + kSep);
    EXPECT_DOUBLE_EQ(w->fOpProgressBarpicture->paintedTwips(), w->fOpProgressBarpicture->widthTwips());
}

// A log file's name is shown as it is, whatever markup it holds.
TEST_F(ProgressTest, MessagesArePlainText) {
    long n = 0;
    PIS_Start("Reading", "bytes", 100, "Read data for /logs/<b>x</b>.log", n, 0, 0, false);
    ProgressInfoform* w = windowOf(n);
    int64_t done = 10;
    PIS_Update(done, "/logs/<img src=y>.log", n);
    const QList<QLabel*> labels = w->findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    for (const QLabel* label : labels) EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
}

// Long lines wrap within the window, which grows to hold them: none overlaps another
// and none is cut.
TEST_F(ProgressTest, LongLinesWrapWithoutOverlappingOrBeingCut) {
    long n = 0;
    PIS_Start("Reading log files. " + std::string(3, 'x') + " Please wait while every file is read and stored ....",
              "bytes", 643298313, "Main Processing [add lines] of /var/log/a/rather/long/folder/name/access.log", n,
              0, 0, false);
    ProgressInfoform* w = windowOf(n);
    w->show();
    int64_t done = 29760000;
    PIS_Update(done, "/var/log/another/rather/long/folder/name/with/more/parts/access.log.1", n);
    QApplication::processEvents();
    const std::vector<QWidget*> rows = {w->fOpinformationlabel, w->fUnitsdonelabel, w->fActiondonelabel,
                                        w->fTimesteplabel, w->fOpProgressBarpicture};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i]->objectName().toStdString());
        EXPECT_TRUE(w->rect().contains(rows[i]->geometry()));
        if (auto* label = qobject_cast<QLabel*>(rows[i]); label && label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        }
        for (std::size_t j = i + 1; j < rows.size(); ++j)
            EXPECT_FALSE(rows[i]->geometry().intersects(rows[j]->geometry())) << rows[j]->objectName().toStdString();
    }
    EXPECT_NE(w->unitsLine().find("29,760,000"), std::string::npos);
}

TEST_F(ProgressTest, CountsPastTwoGibibytesStayExact) {
    long n = 0;
    PIS_Start("Reading.", "bytes", 3000000000LL, "Reading", n, 0, 0, false);
    ProgressInfoform* w = windowOf(n);
    EXPECT_EQ(w->unitsLine(), "0" + kSep + "bytes of 3,000,000,000 completed.");
    EXPECT_EQ(updateTo(n, 2250000000LL), 0);
    EXPECT_EQ(w->unitsLine(), "2,250,000,000" + kSep + "bytes of 3,000,000,000 completed.");
    EXPECT_EQ(w->fOpProgressWordslabel->text(), "75 %");
}

TEST_F(ProgressTest, ATotalOfZeroNeverPaintsNorDelivers) {
    const long n = start(0, 0, 2);
    gPISAbort = 1066;
    EXPECT_EQ(updateTo(n, 50), 0);
    EXPECT_DOUBLE_EQ(windowOf(n)->fOpProgressBarpicture->paintedTwips(), 0);
    gPISAbort = 0;
}

TEST_F(ProgressTest, NestedReportsDrawOnTheirOwnWindowsAndEndInReverseOrder) {
    const long outer = start(100, 0, 0);
    QPointer<ProgressInfoform> w1 = windowOf(outer);
    long inner = 0;
    PIS_Start("Building visits.", "visits", 10, "Visit", inner, 0, 0, true);
    ASSERT_EQ(inner, 2);
    QPointer<ProgressInfoform> w2 = windowOf(inner);

    EXPECT_EQ(updateTo(outer, 50), 0);
    EXPECT_EQ(w1->fOpProgressWordslabel->text(), "50 %");
    EXPECT_DOUBLE_EQ(w2->fOpProgressBarpicture->paintedTwips(), 0);
    EXPECT_GT(w1->fOpProgressBarpicture->paintedTwips(), 0);

    EXPECT_EQ(raised([&] { PIS_End(outer); }), 1331);
    EXPECT_TRUE(ui::isLoaded(w2));

    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    PIS_End(inner);
    EXPECT_FALSE(ui::isLoaded(w2));
    EXPECT_TRUE(w1->isActiveWindow());  // the inner report was started to the front

    EXPECT_EQ(updateTo(outer, 80), 0);  // still drawing on its own window
    EXPECT_EQ(w1->fOpProgressWordslabel->text(), "80 %");
    PIS_End(outer);
    EXPECT_FALSE(ui::isLoaded(w1));
    EXPECT_EQ(start(10, 0, 0), 1);  // numbering starts again
}

TEST_F(ProgressTest, EndingAReportStartedWithoutToFrontLeavesTheFocusAlone) {
    const long outer = start(100, 0, 0);
    const long inner = start(100, 0, 0, false);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    PIS_End(inner);
    EXPECT_FALSE(windowOf(outer)->isActiveWindow());
    PIS_End(outer);
}

TEST_F(ProgressTest, TimingsRecordTheSecondsPerPercentAndShowForTheClickedReport) {
    const long outer = start(100, 0, 0);
    const long inner = start(100, 0, 0);
    clock_.advance(3);
    EXPECT_EQ(updateTo(inner, 50), 0);
    clock_.advance(2);
    EXPECT_EQ(updateTo(inner, 100), 0);
    EXPECT_EQ(gPISRecs[inner].Timings, std::string(49, '|') + "3" + std::string(50, '|') + "5");
    EXPECT_EQ(updateTo(outer, 1), 0);  // not above 1 %: nothing recorded
    EXPECT_EQ(gPISRecs[outer].Timings, "");

    QTest::mouseClick(windowOf(inner)->fOpProgressWordslabel, Qt::RightButton,
                      Qt::ShiftModifier | Qt::ControlModifier);
    const std::vector<std::string> expected{"50\t3\t3\t50\t0.06\t3\t6", "100\t5\t2\t50\t0.04\t0\t5"};
    EXPECT_EQ(qt_.listRows, expected);
    EXPECT_EQ(qt_.listHeader,
              "%\tTtl Secs\tLast Part Secs\tLast Part %\tSecs per 1%\tEst Secs rest\tEst Secs total");

    qt_.listRows.clear();
    QTest::mouseClick(windowOf(inner)->fOpProgressWordslabel, Qt::RightButton);  // no Shift+Ctrl
    EXPECT_TRUE(qt_.listRows.empty());
}

TEST_F(ProgressTest, TimingRowsSkipUnreachedPoints) {
    EXPECT_TRUE(PIS_TimingRows("").empty());
    const std::vector<std::string> expected{"2\t1\t1\t2\t0.5\t49\t50", "4\t4\t3\t2\t1.5\t144\t148"};
    EXPECT_EQ(PIS_TimingRows("|1||4"), expected);
}

TEST_F(ProgressTest, TheWaitSwitchTogglesAndMakesTheEndWaitForOk) {
    const long n = start(100, 0, 2);
    ProgressInfoform* w = windowOf(n);
    const auto rightClick = [&] { QTest::mouseClick(w, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier); };
    rightClick();
    EXPECT_EQ(w->infoLine(), "!!.Confirm req.!!.Reading log files.");
    rightClick();
    EXPECT_EQ(w->infoLine(), "Reading log files.");
    rightClick();

    QPointer<ProgressInfoform> ref(w);
    bool okShown = false, stopShown = true;
    std::string line;
    QTimer presser;  // presses OK once the window is held modally
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (!gInModalShow || !w->isVisible()) return;
        presser.stop();
        okShown = w->fOK->isVisible();
        stopShown = w->fCancel->isVisible();
        line = w->infoLine();
        QTest::mouseClick(w->fOK, Qt::LeftButton);
    });
    presser.start(0);
    PIS_End(n);
    EXPECT_TRUE(okShown);
    EXPECT_FALSE(stopShown);
    EXPECT_EQ(line, "!!.Confirm req.!!.Reading log files. Completed. Press OK to continue.");
    EXPECT_FALSE(ui::isLoaded(ref));
}

TEST_F(ProgressTest, QuietReportsHaveNoWindowAndLastOneReport) {
    const size_t formsBefore = ui::loadedForms().size();
    {
        PIS_QuietScope quiet;
        const long n = start(100, 0, 2);
        EXPECT_EQ(ui::loadedForms().size(), formsBefore);
        EXPECT_EQ(updateTo(n, 50), 0);
        PIS_End(n);
        EXPECT_FALSE(gPISQuiet);
    }
    gPISQuiet = true;
    start(100, 0, 0);
    PIS_CloseAll();  // the error path ends the quiet report too
    EXPECT_FALSE(gPISQuiet);
    const long n = start(100, 0, 0);
    EXPECT_EQ(ui::loadedForms().size(), formsBefore + 1);
    PIS_End(n);
}

TEST_F(ProgressTest, SwitchedOffReportsAndUnknownNumbersDoNothing) {
    gPISOff = true;
    long n = 42;
    PIS_Start("x", "rows", 10, "", n, 0, 2, false);
    EXPECT_EQ(n, 42);
    int64_t done = 0;
    PIS_Update(done, "", n, {.increment = true});
    EXPECT_EQ(done, 0);
    gPISOff = false;

    gPISAbort = 1066;
    EXPECT_EQ(updateTo(7, 50), 0);
    EXPECT_EQ(raised([] { PIS_End(7); }), 0);
    gPISAbort = 0;
}

TEST_F(ProgressTest, CloseAllRemovesEveryReportWindow) {
    QPointer<ProgressInfoform> a = windowOf(start(10, 0, 0));
    QPointer<ProgressInfoform> b = windowOf(start(10, 0, 0));
    gPISAbort = 1066;
    PIS_CloseAll();
    EXPECT_FALSE(ui::isLoaded(a));
    EXPECT_FALSE(ui::isLoaded(b));
    EXPECT_EQ(gPISAbort, 0);
    EXPECT_EQ(start(10, 0, 0), 1);
}

// A long loop refreshes by time, not per iteration, and stops on Stop.
TEST_F(ProgressTest, ALongLoopRefreshesAFewTimesASecondAndStopsOnStop) {
    const int64_t total = 200000;
    const long n = start(total, 0.5, 2);
    const int yieldsAtStart = qt_.yields;
    int64_t stoppedAt = -1;
    qt_.onYield = [&] {
        if (qt_.yields - yieldsAtStart == 5) windowOf(n)->fCancel->click();
    };
    int64_t done = 0;
    try {
        while (done < total) {
            clock_.advance(0.0001);  // 20 seconds over the whole loop
            PIS_Update(done, "line", n, {.increment = true});
        }
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 1066);
        stoppedAt = done;
    }
    qt_.onYield = {};
    EXPECT_TRUE(windowOf(n)->isVisible());
    EXPECT_GT(stoppedAt, 0);
    EXPECT_LT(stoppedAt, total);
    // Stop came while the 5th refresh (about 2.5 s in) yielded; that refresh delivered it.
    EXPECT_EQ(qt_.yields - yieldsAtStart, 5);
}

}  // namespace
