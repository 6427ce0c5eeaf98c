#include "core/operation_log.h"

#include "platform/prompter.h"

namespace fbwb {

void OperationLog::writeLogLine(const std::string& text) {
    lines_.push_back(text);
    if (listener_) listener_(lines_.back());
}

void OperationLog::writeErrorLine(const std::string& text, bool showBox) {
    if (showBox) platform::prompter().showMessage(text, platform::BoxKind::Error);
    ++errors_;
    writeLogLine(kErrorLinePrefix + text);
}

}  // namespace fbwb
