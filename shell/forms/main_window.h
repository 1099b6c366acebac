#pragma once
// The main window: an MDI frame whose menu bar is the program's command surface.
// Loading brings the whole program up; the program's end from inside loading leaves
// MDIForm_Load as sys::EndProgram for main() to catch.
#include <QMainWindow>
#include <functional>
#include <map>
#include <string>

class QMdiArea;
class QMenu;
class QAction;

class Mainfrm : public QMainWindow {
    Q_OBJECT
public:
    Mainfrm();
    ~Mainfrm() override;

    void MDIForm_Load(const std::string& commandLine);
    QMdiArea* mdiArea() const { return mdi_; }
    // The menu item of a command code (or, for the Help items without a code, of a
    // control name); null when there is none.
    QAction* menuItem(const std::string& codeOrControl) const;

    // The active results window; without one, ok is false and, when asked, the user
    // is told.
    QWidget* GetResultsForm(bool showMessage, bool& ok) const;

    // Makes a menu item available and runs the work under the handler pattern. The
    // commands of the log import, the analysis and help are wired by the program's
    // start-up, since those libraries sit above the shell. A Help item without a code
    // is named by its control.
    void wire(const std::string& codeOrControl, std::function<void()> work);

    void fMnu_FS_Click();
    void fMnu_FD_Click();
    void fMnu_FX_Click();
    // Operations with no menu item. NL lists one log line's field values; NR tells a
    // site that keeps no extra data that it has no referrers to show. The others do
    // nothing.
    void fMnu_NL_Click();
    void fMnu_NR_Click();
    void fMnu_NC_Click() {}
    void fMnu_ND_Click() {}
    void fMnu_NF_Click() {}
    void fMnu_NK_Click() {}
    void fMnu_NN_Click() {}
    void fMnu_NR1_Click() {}
    void fMnu_NS_Click() {}
    void fMnu_NU_Click() {}
    void fMnu_NV_Click() {}
    void fMnu_NW_Click() {}
    // Closes the site database; runs when the window closes.
    void MDIForm_Unload();
    // The first activation offers to finish an addition whose visits were not built;
    // later activations do nothing.
    void MDIForm_Activate();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void wireCommands();
    // The handler pattern around a command, its code stored before the work.
    void run(const std::string& codeOrControl, const std::function<void()>& work);
    void fillWindowList(QMenu* menu);
    void sortResults(int col, int sortCode);
    void tile(bool horizontal);
    void cascade();
    void fillScreen();
    void firstActivateLater();

    QMdiArea* mdi_;
    std::map<std::string, QAction*> items_;
    QAction* windowListStart_ = nullptr;
    bool dFirstActivate = true;
    bool loaded_ = false;
};
