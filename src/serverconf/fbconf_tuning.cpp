#include "serverconf/fbconf_tuning.h"

#include "core/text.h"
#include "env/fbconf.h"
#include "serverconf/texts_serverconf.h"

namespace fbwb {

using namespace texts_serverconf;

std::vector<std::string> fbConfTuningScheme() { return {std::begin(kFbConfScheme), std::end(kFbConfScheme)}; }

std::vector<std::string> auditTraceSample() { return {std::begin(kAuditTraceSample), std::end(kAuditTraceSample)}; }

FbConfFields defaultFbConfFields() {
    return {std::string(kFbConfFnDefault), {}, fbConfTuningScheme(), auditTraceSample()};
}

void applyFbConfScheme(const std::vector<std::string>& scheme, bool auditTrace, std::vector<std::string>& lines) {
    for (const std::string& line : scheme)
        if (!trim(line).empty()) setFbConfLine(line, lines);
    // After the scheme, whose commented line has switched an active setting off.
    if (auditTrace) setFbConfLine(std::string(kAuditTraceLine), lines);
}

std::string activeFbConfPath(std::string_view serverFolder) {
    return folderPrefix(serverFolder) + std::string(kFbConfFileName);
}

}  // namespace fbwb
