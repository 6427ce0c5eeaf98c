#pragma once
// The operation log: lines collected during the program's run.
#include <functional>
#include <string>
#include <vector>

namespace fbwb {

inline constexpr const char* kErrorLinePrefix = "HIBA   ---> ";

class OperationLog {
public:
    void writeLogLine(const std::string& text);
    // With showBox, the text is first shown in an error box and the call waits until it is closed.
    void writeErrorLine(const std::string& text, bool showBox);

    const std::vector<std::string>& lines() const { return lines_; }
    // How many error lines have been written: a run compares it before and after.
    size_t errorCount() const { return errors_; }
    // Called after every appended line (the main window mirrors the log live).
    void setListener(std::function<void(const std::string&)> listener) { listener_ = std::move(listener); }

private:
    std::vector<std::string> lines_;
    size_t errors_ = 0;
    std::function<void(const std::string&)> listener_;
};

}  // namespace fbwb
