#pragma once
// [Main] of "::*" in a temporary file, for tests of report code that reads its options
// there; routed for the lifetime of the object.
#include <string>

#include "core/shell_hooks.h"
#include "core/text.h"
#include "tests/support/temp_home.h"

namespace testsupport {

class MainSettings : public core::ShellHooks {
public:
    // `entries` are lines "key=value\n" of the section.
    explicit MainSettings(const std::string& entries = {}) {
        TXT_CrLfInit();
        writeFile(file_, "[Main]\n" + entries);
    }
    MainSettings(const MainSettings&) = delete;
    MainSettings& operator=(const MainSettings&) = delete;

    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Main" ? file_ : std::string();
    }

private:
    TempHome home_;
    std::string file_ = home_ / "LastVals.ini";
    core::ScopedShellHooks installed_{this};
};

}  // namespace testsupport
