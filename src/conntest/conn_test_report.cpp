#include "conntest/conn_test_report.h"

#include "conntest/texts_conntest.h"
#include "core/text.h"

namespace fbwb {

using namespace texts_conntest;

std::vector<std::string> connTestStartLines(std::string_view address) {
    return {std::string(kConnectingTo) + std::string(address), std::string(kWaiting)};
}

std::vector<std::string> connTestOutcomeLines(std::string_view address, const ConnTestOutcome& outcome, bool detailed) {
    std::vector<std::string> lines;
    const auto add = [&lines](const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
    };
    const bool reported = outcome.connected || outcome.error.has_value();
    if (outcome.connected) {
        lines.emplace_back(kConnected);
    } else if (outcome.error) {
        lines.push_back(std::string(kNotConnected) + std::string(address));
        add(splitLines(*outcome.error));
    }
    if (reported && detailed) {
        lines.emplace_back();
        lines.emplace_back(kParametersStart);
        add(splitLines(outcome.parameterText));
        lines.emplace_back(kParametersEnd);
    }
    lines.emplace_back(kTestEnd);
    lines.emplace_back();
    return lines;
}

}  // namespace fbwb
