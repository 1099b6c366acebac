#include "shell/forms/main_window.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>

#include "core/handler_error.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/msgbox.h"
#include "platform/grid/flex_grid.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/program_icon.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_pointer.h"
#include "shell/hooks.h"
#include "shell/log_import_hooks.h"
#include "shell/menu_tree.h"
#include "shell/forms/new_site_dialog.h"
#include "shell/site_commands.h"
#include "shell/sites.h"
#include "shell/start_up.h"
#include "window/event_guard.h"
#include "window/form_ops.h"
#include "window/placement.h"

namespace {

constexpr char kResultsTag[] = "STLst";
// Grid sort codes.
constexpr int kSortGenericDescending = 2, kSortNumericDescending = 4, kSortStringAscendingCase = 7;

}  // namespace

Mainfrm::Mainfrm() : mdi_(new QMdiArea(this)) {
    setObjectName("Mainfrm");
    // Every window of the program, the parentless help window too, shows this icon.
    QApplication::setWindowIcon(ui::programIcon());
    setWindowTitle(ui::toWindowTitle(gProductName));
    setCentralWidget(mdi_);
    buildMenus();
    wireCommands();
    shell::setCaptionSink([this](const std::string& caption) { setWindowTitle(ui::toWindowTitle(caption)); });
}

Mainfrm::~Mainfrm() { shell::setCaptionSink({}); }

void Mainfrm::buildMenus() {
    for (const auto& spec : shell::mainMenuTree()) {
        QMenu* menu = menuBar()->addMenu(ui::toQString(spec.caption));
        menu->setObjectName(ui::toQString("fMnu_" + (spec.code.empty() ? std::string("H") : spec.code)));
        if (!spec.code.empty())
            connect(menu, &QMenu::aboutToShow, this, [code = spec.code] {
                if (!core::gInDoEvents) gCurrMnu = code;
            });
        for (const auto& item : spec.items) {
            if (item.caption == "-") {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(ui::toQString(item.caption));
            action->setObjectName(ui::toQString(item.control));
            action->setEnabled(false);  // until a command is wired to it
            items_[item.code.empty() ? item.control : item.code] = action;
        }
        if (spec.code == "W") {
            windowListStart_ = menu->addSeparator();
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillWindowList(menu); });
        }
        // The sorts act on the results window in front; without one they are not offered.
        if (spec.code == "V")
            connect(menu, &QMenu::aboutToShow, this, [this] {
                bool ok = false;
                GetResultsForm(false, ok);
                for (const char* code : {"VF", "VV", "VY", "VX"}) menuItem(code)->setEnabled(ok);
            });
    }
}

QAction* Mainfrm::menuItem(const std::string& codeOrControl) const {
    auto it = items_.find(codeOrControl);
    return it == items_.end() ? nullptr : it->second;
}

void Mainfrm::run(const std::string& codeOrControl, const std::function<void()>& work) {
    // The Help items without a code leave the last command's code alone.
    const shell::MenuItemSpec* item = shell::menuItemByCode(codeOrControl);
    const std::string proc = (item ? item->control : codeOrControl) + "_Click";
    window::guarded(this, proc.c_str(), window::Guard::SkipWhileYielding, [&] {
        if (item) gCurrMnu = codeOrControl;
        work();
    });
}

void Mainfrm::wire(const std::string& code, std::function<void()> work) {
    QAction* action = menuItem(code);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, code, work = std::move(work)] { run(code, work); });
}

// Only the commands whose operations exist are wired; the others stay unavailable
// until the work they call is built.
void Mainfrm::wireCommands() {
    wire("FS", [this] { fMnu_FS_Click(); });
    wire("FD", [this] { fMnu_FD_Click(); });
    wire("FX", [this] { fMnu_FX_Click(); });
    wire("VF", [this] { sortResults(0, kSortStringAscendingCase); });
    wire("VV", [this] { sortResults(1, kSortNumericDescending); });
    wire("VY", [this] { sortResults(2, kSortNumericDescending); });
    wire("VX", [this] { sortResults(-1, kSortGenericDescending); });
    wire("WC", [this] { cascade(); });
    wire("WH", [this] { tile(true); });
    wire("WV", [this] { tile(false); });
    wire("WF", [this] { fillScreen(); });
}

void Mainfrm::fMnu_FS_Click() { run("FS", shell::siteListCommand); }
void Mainfrm::fMnu_FD_Click() { run("FD", shell::newSiteCommand); }

void Mainfrm::fMnu_NL_Click() { run("fMnu_NL", shell::logFieldValuesList); }

void Mainfrm::fMnu_NR_Click() {
    run("fMnu_NR", [] {
        if (INI_GetFlag("Main", "LastKeepVal", gIniDbDef)) return;
        core::ui().info("Referrers are not available for this database." + gCRCR +
                            "To see referrers, create a new site database (File > Add new site database) with the "
                            "option to keep all data, and add the log files to it.",
                        "");
    });
}

void Mainfrm::fMnu_FX_Click() {
    run("FX", [this] {
        close();
        throw sys::EndProgram(0);
    });
}

void Mainfrm::MDIForm_Load(const std::string& commandLine) {
    if (core::gInDoEvents) return;
    const int saved = gMousePointer;
    MSE_Hourglass();
    shell::StartupWindow window;
    window.maximize = [this] { setWindowState(windowState() | Qt::WindowMaximized); };
    window.showAndYield = [this] {
        show();
        MSE_DoEvents();
    };
    window.selectSite = [this] { fMnu_FS_Click(); };
    window.newSite = [this] { fMnu_FD_Click(); };
    try {
        shell::loadSteps(commandLine, window);
        MSE_PointerSet(saved);
        // The window was shown while loading; its first activation counts once loading is done.
        loaded_ = true;
        firstActivateLater();
    } catch (const sys::RtError& e) {
        core::handlerError(e, ui::handle(this), "MDIForm_Load");
    }
}

void Mainfrm::closeEvent(QCloseEvent* event) {
    // A window does not close while a long operation yields.
    if (core::gInDoEvents) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

void Mainfrm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The offer is a modal box: it waits until the activation has been handled.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && loaded_ && dFirstActivate)
        firstActivateLater();
}

// While a long job yields (the first site is made during loading) the window's
// handlers are skipped; the offer then waits until the job is done.
void Mainfrm::firstActivateLater() {
    QTimer::singleShot(core::gInDoEvents ? 200 : 0, this, [this] {
        if (core::gInDoEvents)
            firstActivateLater();
        else
            MDIForm_Activate();
    });
}

void Mainfrm::MDIForm_Activate() {
    window::guarded(this, "MDIForm_Activate", window::Guard::SkipWhileYielding, [this] {
        if (!dFirstActivate) return;
        dFirstActivate = false;
        shell::incompleteAddFinish();
    });
}

void Mainfrm::MDIForm_Unload() {
    window::guarded(this, "MDIForm_Unload", window::Guard::SkipWhileYielding, [] { STTA_SiteDBClose(); });
}

QWidget* Mainfrm::GetResultsForm(bool showMessage, bool& ok) const {
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    QWidget* form = sub ? sub->widget() : nullptr;
    ok = form && FRMS_FormTag(form) == kResultsTag;
    if (!ok && showMessage) MB_Info("Only available when Results are displayed");
    return ok ? form : nullptr;
}

void Mainfrm::sortResults(int col, int sortCode) {
    bool ok = false;
    QWidget* form = GetResultsForm(true, ok);
    if (!ok) return;
    auto* grid = form->findChild<grid::FlexGrid*>("fSearchTerms");
    if (!grid) return;
    // The current row stays current wherever the sort puts it, and in view; the sort's
    // column becomes the current one, which "Selected column" sorts on next.
    const long current = grid->Row();
    const long entry = current >= grid->FixedRows() ? grid->RowData(current) : 0;
    if (col >= 0) grid->setCol(col);
    // The rows a report ends with (".. Rest ..", a blank row, ".. Total .."), those it
    // has, stay last. With fewer than two data rows there is nothing to order, and an
    // empty selection would let the grid sort every row, those included.
    long last = grid->Rows() - 1;
    for (const char* closing : {".. Total ..", "", ".. Rest .."})
        if (last > 0 && grid->TextMatrix(last, 0) == closing) --last;
    if (last < 2) return;
    grid->setRow(1);
    grid->setRowSel(last);
    grid->setSort(sortCode);
    long row = current;
    for (long r = 1; entry != 0 && r <= last; ++r)
        if (grid->RowData(r) == entry) row = r;
    grid->setRow(row);
    grid->showCell(row, grid->Col());
}

void Mainfrm::tile(bool horizontal) {
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->isVisible() && !sub->isMinimized()) subs.append(sub);
    if (subs.isEmpty()) return;
    const QSize area = mdi_->viewport()->size();
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        subs[i]->showNormal();
        if (horizontal)
            subs[i]->setGeometry(0, area.height() * i / n, area.width(), area.height() / n);
        else
            subs[i]->setGeometry(area.width() * i / n, 0, area.width() / n, area.height());
    }
}

// Each window two thirds of the area, one title bar lower and to the right of the one
// before; a window that would leave the area starts again at the top left. The active
// window comes last, in front: the keyboard stays with the window the user sees.
void Mainfrm::cascade() {
    QMdiSubWindow* active = mdi_->activeSubWindow();
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->isVisible() && !sub->isMinimized() && sub != active) subs.append(sub);
    if (active && active->isVisible() && !active->isMinimized()) subs.append(active);
    const QSize area = mdi_->viewport()->size();
    const int width = std::max(area.width() * 2 / 3, std::min(area.width(), 400));
    const int height = std::max(area.height() * 2 / 3, std::min(area.height(), 300));
    const int step = std::max(mdi_->style()->pixelMetric(QStyle::PM_TitleBarHeight), 20);
    QPoint at(0, 0);
    for (QMdiSubWindow* sub : subs) {
        sub->showNormal();
        if (at.x() + width > area.width() || at.y() + height > area.height()) at = QPoint(0, 0);
        sub->setGeometry(QRect(at, QSize(width, height)));
        sub->raise();
        at += QPoint(step, step);
    }
    if (subs.contains(active)) mdi_->setActiveSubWindow(active);
}

void Mainfrm::fillScreen() {
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    if (sub && FRMSND_FormIsAlive(sub->widget())) POS_FormFillParent(sub->widget(), mdi_);
}

void Mainfrm::fillWindowList(QMenu* menu) {
    const QList<QAction*> actions = menu->actions();
    for (qsizetype i = actions.indexOf(windowListStart_) + 1; i < actions.size(); ++i) {
        menu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    QMdiSubWindow* active = mdi_->activeSubWindow();
    // A report's title runs on with its whole description: an entry is cut to half the
    // screen's width, and its tip shows it whole. Tips are read as rich text when they
    // look like it, and a title can quote the log, so the tip is made from plain text.
    const QScreen* screen = this->screen();
    const int widest = (screen ? screen->availableGeometry().width() : 1024) / 2;
    const QFontMetrics metrics(menu->font());
    menu->setToolTipsVisible(true);
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        QString shown = metrics.elidedText(sub->windowTitle(), Qt::ElideRight, widest);
        QAction* entry = menu->addAction(shown.replace('&', QStringLiteral("&&")));
        entry->setToolTip(Qt::convertFromPlainText(sub->windowTitle(), Qt::WhiteSpaceNormal));
        entry->setCheckable(true);
        entry->setChecked(sub == active);
        connect(entry, &QAction::triggered, mdi_, [this, sub] { mdi_->setActiveSubWindow(sub); });
    }
}
