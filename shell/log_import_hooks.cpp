#include "shell/log_import_hooks.h"

namespace shell {

namespace {

LogImportHooks& registered() {
    static LogImportHooks hooks;
    return hooks;
}

}  // namespace

void setLogImportHooks(LogImportHooks hooks) { registered() = std::move(hooks); }

void addLogData() {
    if (registered().addLogData) registered().addLogData();
}

void incompleteAddFinish() {
    if (registered().incompleteAddFinish) registered().incompleteAddFinish();
}

void logFieldValuesList() {
    if (registered().logFieldValuesList) registered().logFieldValuesList();
}

}  // namespace shell
