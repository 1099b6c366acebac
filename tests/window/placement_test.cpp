#include "window/placement.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "platform/ui/forms.h"
#include "platform/ui/twips.h"
#include "platform/ui/work_area.h"
#include "window_fixture.h"

namespace {

// A work area of 600 x 500 pixels whose origin is (100, 50): panels on the left and top.
class PlacementTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ui::setWorkAreaProvider([] { return QRect(100, 50, 600, 500); });
    }
    void TearDown() override {
        ui::setWorkAreaProvider({});
        WindowTest::TearDown();
    }
    // A shown form of the given outer size in twips.
    static void sizeForm(QWidget& form, long width, long height) {
        form.show();
        ui::setTwipsGeometry(&form, {0, 0, width, height});
    }
};

TEST_F(PlacementTest, WorkAreaInTwipsAndPixels) {
    double w = 0, h = 0;
    ACTIVAT_GetWorkArea(w, h, kUnitsTwips);
    EXPECT_DOUBLE_EQ(w, 9000);
    EXPECT_DOUBLE_EQ(h, 7500);
    ACTIVAT_GetWorkArea(w, h, 0);
    EXPECT_DOUBLE_EQ(w, 600);
    EXPECT_DOUBLE_EQ(ACTIVAT_WorkAreaWidth(kUnitsTwips), 9000);
}

TEST_F(PlacementTest, PlaceCentresInsideTheWorkAreaAndKeepsOversizedFormsAtItsEdge) {
    QWidget form;
    sizeForm(form, 3000, 1500);
    POS_FormPlace(&form);
    EXPECT_EQ(ui::twipsGeometry(&form), (ui::TwipsRect{1500 + 3000, 750 + 3000, 3000, 1500}));

    sizeForm(form, 9000 + 2000, 1500);
    POS_FormPlace(&form);
    EXPECT_EQ(ui::twipsGeometry(&form).left, 1500);  // the origin, not a negative value
}

TEST_F(PlacementTest, FourCornerMovesComeBackToTheStart) {
    QWidget form;
    sizeForm(form, 3000, 1500);
    const QPoint expected[] = {{6000, 0}, {6000, 6000}, {0, 6000}, {0, 0}};
    for (const QPoint& corner : expected) {
        POS_FormCycleCorner(&form);
        const ui::TwipsRect r = ui::twipsGeometry(&form);
        EXPECT_EQ(QPoint(r.left, r.top), corner);
    }
    // A centred form counts as bottom-right and goes to bottom-left first.
    POS_FormPlace(&form);
    POS_FormCycleCorner(&form);
    EXPECT_EQ(ui::twipsGeometry(&form).left, 0);
    EXPECT_EQ(ui::twipsGeometry(&form).top, 6000);
}

TEST_F(PlacementTest, FillParentFillsTheMdiClientAreaOfALoadedForm) {
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    main.resize(500, 400);
    main.show();
    auto* form = new ui::Form;
    QMdiSubWindow* sub = area->addSubWindow(form);
    sub->setGeometry(30, 30, 100, 80);
    sub->show();

    POS_FormFillParent(form, &main);
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), area->viewport()->size()));

    sub->setGeometry(30, 30, 100, 80);
    ui::unloadForm(form);
    POS_FormFillParent(form, &main);  // unloaded: left alone
    EXPECT_EQ(sub->geometry(), QRect(30, 30, 100, 80));
}

TEST_F(PlacementTest, ForceForegroundActivatesAndTopmostIsAWindowFlag) {
    QWidget first, second;
    first.show();
    second.show();
    EXPECT_TRUE(ACTIVAT_ForceForeground(&first));
    EXPECT_TRUE(first.isActiveWindow());
    EXPECT_FALSE(ACTIVAT_ForceForeground(nullptr));

    second.move(10, 20);
    EXPECT_NE(ACTIVAT_SetWindowPos(&second, kHwndTopmost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize), 0);
    EXPECT_TRUE(second.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(second.pos(), QPoint(10, 20));
    ACTIVAT_SetWindowPos(&second, kHwndNotopmost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize);
    EXPECT_FALSE(second.windowFlags() & Qt::WindowStaysOnTopHint);
}

}  // namespace
