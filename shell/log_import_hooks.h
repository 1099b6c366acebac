#pragma once
// The log import's commands that the shell offers on its own occasions (a new site, a
// site switch, the main window's first activation). The log import sits above the
// shell, so the program registers them at start-up; until then they do nothing.
#include <functional>

namespace shell {

struct LogImportHooks {
    std::function<void()> addLogData{};          // File > "Add ne&w raw log data"
    std::function<void()> incompleteAddFinish{}; // offers to finish an addition whose visits were not built
    std::function<void()> logFieldValuesList{};  // lists the field values of one log line
};

void setLogImportHooks(LogImportHooks hooks);
void addLogData();
void incompleteAddFinish();
void logFieldValuesList();

}  // namespace shell
