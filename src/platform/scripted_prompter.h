#pragma once
// A prompter that records every box and answers from a script: for tests and unattended runs.
#include <deque>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace fbwb::platform {

class ScriptedPrompter : public Prompter {
public:
    struct Box {
        std::string text;
        BoxKind kind;
        bool question;
    };

    void answer(bool yes) { answers_.push_back(yes); }
    // With no scripted answer left, a question is an error: the test did not expect it.
    bool askYesNo(std::string_view text, BoxKind kind) override;
    void showMessage(std::string_view text, BoxKind kind) override;

    const std::vector<Box>& boxes() const { return boxes_; }

private:
    std::deque<bool> answers_;
    std::vector<Box> boxes_;
};

}  // namespace fbwb::platform
