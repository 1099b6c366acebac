#include "core/shell_hooks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct Named : core::ShellHooks {
    explicit Named(std::string name) : name_(std::move(name)) {}
    std::string currentCommand() override { return name_; }
    std::string name_;
};

}  // namespace

// A guard puts back what it found, also when its scope is left by an exception (a
// failed assertion), so no later test reaches hooks that have gone.
TEST(ScopedShellHooks, PutsBackTheHooksItFoundHoweverTheScopeEnds) {
    Named outer("outer"), inner("inner");
    core::ScopedShellHooks first(&outer);
    try {
        core::ScopedShellHooks second(&inner);
        EXPECT_EQ(core::shellHooks().currentCommand(), "inner");
        throw std::runtime_error("left early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(core::shellHooks().currentCommand(), "outer");
    {
        core::ScopedShellHooks none(nullptr);
        EXPECT_EQ(core::shellHooks().currentCommand(), "");
        core::ScopedShellHooks kept;  // keeps what is there, and puts it back
        core::setShellHooks(&inner);
    }
    EXPECT_EQ(core::shellHooks().currentCommand(), "outer");
}
