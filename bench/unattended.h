#pragma once
// What the bench and fuzz programs share besides timing: a user interface that answers
// every box unattended, and the peak memory of the process.
#include <cstdio>
#include <string>
#include <vector>

#include "core/user_interface.h"

namespace bench {

// Answers every box with "No" where it offers it (so a new site's offer to add data
// now is declined), else its first button, and names the first site.
class Unattended : public core::UserInterface {
public:
    int msgBox(const std::string&, const std::string& buttons, const std::string&, const std::string&) override {
        const std::vector<std::string> captions = core::buttonCaptions(buttons);
        for (std::size_t i = 0; i < captions.size(); ++i)
            if (captions[i] == "&No") return static_cast<int>(i) + 1;
        return 1;
    }
    void info(const std::string&, const std::string&) override {}
    bool systemOkCancel(const std::string& message, const std::string&) override {
        std::fprintf(stderr, "error box: %s\n", message.c_str());
        return true;
    }
    int inputBox(const std::string&, const std::string&, const std::string&, const std::string&,
                 std::string& value) override {
        value = "Bench";
        return 1;
    }
    void doEvents() override {}
    int mousePointer() const override { return 0; }
    void setMousePointer(int) override {}
    std::string activeWindowCaption() const override { return {}; }
    std::string activeControlName() const override { return {}; }
    void clipboardSetText(const std::string&) override {}
    void clipboardClear() override {}
};

// The process's peak resident memory so far, in MiB (0 when unknown).
inline long peakMiB() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
    std::fclose(f);
    return kib / 1024;
}

}  // namespace bench
