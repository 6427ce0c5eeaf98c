#include "platform/scripted_prompter.h"

#include <stdexcept>

namespace fbwb::platform {

bool ScriptedPrompter::askYesNo(std::string_view text, BoxKind kind) {
    boxes_.push_back({std::string(text), kind, true});
    if (answers_.empty()) throw std::logic_error("Unexpected question: " + std::string(text));
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

void ScriptedPrompter::showMessage(std::string_view text, BoxKind kind) {
    boxes_.push_back({std::string(text), kind, false});
}

}  // namespace fbwb::platform
