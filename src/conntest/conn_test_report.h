#pragma once
// The lines that a connection test adds to the dialog's result box. Pure text work.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// What a connection try ended with.
struct ConnTestOutcome {
    bool connected = false;
    // The client's text when the try failed.
    std::optional<std::string> error;
    // The connection's parameters, one per line; empty when the failure came before they were handed back.
    std::string parameterText;
};

// Written before the try, so that they show while it lasts.
std::vector<std::string> connTestStartLines(std::string_view address);

// The outcome (the failure with the address and every line of the client's text), with the
// connection's parameters framed when detailed, then the closing line and an empty line.
std::vector<std::string> connTestOutcomeLines(std::string_view address, const ConnTestOutcome& outcome, bool detailed);

}  // namespace fbwb
