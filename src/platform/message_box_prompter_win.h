#pragma once
// The production prompter: the system's message boxes, owned by the application's window.
#include <string>
#include <utility>

#include "platform/prompter.h"

namespace fbwb::platform {

// The caption of every box the program shows.
inline constexpr const char* kApplicationTitle = "FbWorkbench";

class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(std::string caption = kApplicationTitle) : caption_(std::move(caption)) {}

    bool askYesNo(std::string_view text, BoxKind kind) override;
    void showMessage(std::string_view text, BoxKind kind) override;

private:
    std::string caption_;
};

}  // namespace fbwb::platform
