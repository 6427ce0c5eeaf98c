#pragma once
// The tuning of firebird.conf as rules on lines: the scheme, the audit trace line, the target path.
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// What the settings dialog hands to the run.
struct FbConfChoice {
    bool createNew = false;   // write a new file instead of the active server's
    std::string newFileName;  // the new file's path as typed
    bool auditTrace = false;  // switch the audit trace on
};

// The main window's hidden data of the tuning: the target path during a run, the target's lines
// while they are edited, and the two shipped texts.
struct FbConfFields {
    std::string edFbConfFn;
    std::vector<std::string> mFbConf;
    std::vector<std::string> mFbConfScheme;
    std::vector<std::string> mAuditTraceSample1;
};
FbConfFields defaultFbConfFields();

// The shipped scheme (48 lines, one empty) and trace configuration (13 lines).
std::vector<std::string> fbConfTuningScheme();
std::vector<std::string> auditTraceSample();

// Applies every non-blank scheme line, untrimmed and in order, with setFbConfLine; then, with
// auditTrace, the audit trace line the same way.
void applyFbConfScheme(const std::vector<std::string>& scheme, bool auditTrace, std::vector<std::string>& lines);

// The active server's file: the server folder, trimmed, with one trailing backslash, + "firebird.conf".
std::string activeFbConfPath(std::string_view serverFolder);

}  // namespace fbwb
