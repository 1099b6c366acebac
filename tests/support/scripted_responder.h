#pragma once
// Answers boxes from a queue, checks each against what the test expected and keeps
// a transcript. A box with no queued answer, or one that does not match, throws
// UnexpectedDialog naming its caption and message.
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/dialog_responder.h"

namespace testsupport {

struct Answer {
    std::string expectCaption{};  // substring; empty matches any
    std::string expectMessage{};  // substring; empty matches any
    // Control address ("#entry", "cap:<caption>", "after:<label>") and value.
    std::vector<std::pair<std::string, std::string>> sets{};
    std::string press{};  // button caption; empty when `act` does the work
    std::function<void(const core::DlgView&, core::DlgDriver&)> act{};
};

class ScriptedResponder : public core::DlgResponder {
public:
    ScriptedResponder();  // installs itself
    ~ScriptedResponder() override;  // uninstalls itself

    ScriptedResponder& expect(Answer a);
    // Shorthand: a box whose message contains `message`, answered with `press`.
    ScriptedResponder& press(const std::string& message, const std::string& button);

    void respond(const core::DlgView& view, core::DlgDriver& driver) override;

    const std::vector<core::DlgView>& shown() const { return shown_; }
    size_t pending() const { return queue_.size(); }
    // What was thrown for each box answered by nothing or by the wrong answer; error
    // traps of the program may have kept it from the test.
    const std::vector<std::string>& refused() const { return refused_; }

private:
    [[noreturn]] void refuse(const std::string& what);

    std::deque<Answer> queue_;
    std::vector<core::DlgView> shown_;
    std::vector<std::string> refused_;
};

}  // namespace testsupport
