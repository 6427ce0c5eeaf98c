#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "env/fbconf.h"
#include "serverconf/fbconf_tuning.h"

using namespace fbwb;

namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string dataFile(const char* name) { return readBytes(std::string(FBWB_TEST_DATA_DIR) + "/fbconf/" + name); }

// What the editing step does to a file's bytes.
std::string tuned(const std::string& bytes, bool auditTrace) {
    ConfText text = parseConfText(bytes);
    applyFbConfScheme(fbConfTuningScheme(), auditTrace, text.lines);
    return formatConfText(text);
}

}  // namespace

TEST(FbConfTuning, SampleFilesGetTheExpectedText) {
    // The before file holds a commented setting to revive, a custom port to switch off, two active
    // GCPolicy lines (one in lower case without blanks), an active audit trace file to comment out,
    // a value with a comment after it, duplicate comments of one key, and lines the scheme never names.
    struct Case {
        const char* before;
        bool auditTrace;
        const char* expected;
    } cases[] = {
        {"edge.before.conf", false, "edge.after.conf"},
        {"edge.before.conf", true, "edge.trace.after.conf"},
        {nullptr, false, "new.after.conf"},
        {nullptr, true, "new.trace.after.conf"},
    };
    for (const auto& c : cases) {
        const std::string before = c.before ? dataFile(c.before) : std::string();
        if (c.before) {
            ASSERT_FALSE(before.empty()) << c.before;
        }
        EXPECT_EQ(tuned(before, c.auditTrace), dataFile(c.expected)) << c.expected;
    }
}

TEST(FbConfTuning, ShippedTextsHaveTheirShape) {
    const std::vector<std::string> scheme = fbConfTuningScheme();
    ASSERT_EQ(scheme.size(), 48u);
    EXPECT_EQ(scheme[9], "");
    for (size_t i = 0; i < scheme.size(); ++i) {
        if (i == 9) continue;
        // Key, one blank, "=", then one blank and the value, or nothing.
        const std::string& line = scheme[i];
        const size_t equals = line.find(" =");
        ASSERT_NE(equals, std::string::npos) << line;
        EXPECT_TRUE(equals + 2 == line.size() || (line[equals + 2] == ' ' && line.size() > equals + 3)) << line;
        EXPECT_EQ(isConfCommentLine(line), i > 9) << line;
    }
    EXPECT_EQ(joinLinesCrLf(auditTraceSample()), dataFile("firebird_trace.conf"));
}

// Debian's own firebird.conf of the installed server: a long real file full of documentation comments.
TEST(FbConfTuning, RealServerFileKeepsEveryUntouchedLine) {
    const std::string original = readBytes("/etc/firebird/3.0/firebird.conf");
    ASSERT_FALSE(original.empty()) << "the Firebird 3 server package is missing (scripts/install-deps.sh installs it)";
    const std::vector<std::string> before = parseConfText(original).lines;
    const std::vector<std::string> scheme = fbConfTuningScheme();
    for (bool auditTrace : {false, true}) {
        SCOPED_TRACE(auditTrace ? "audit trace on" : "audit trace off");
        std::vector<std::string> after = before;
        applyFbConfScheme(scheme, auditTrace, after);
        ASSERT_GE(after.size(), before.size());

        std::map<std::string, std::string> schemeLineOfKey;
        for (const std::string& line : scheme)
            if (!trim(line).empty()) schemeLineOfKey[upperAscii(getConfLineKey(line))] = line;
        const std::string traceKey = "AUDITTRACECONFIGFILE";
        // Every line in its place: unchanged, or the scheme's line of its key.
        for (size_t i = 0; i < before.size(); ++i) {
            const auto scheme = schemeLineOfKey.find(upperAscii(getConfLineKey(before[i])));
            if (after[i] == before[i]) continue;
            ASSERT_NE(scheme, schemeLineOfKey.end()) << "line " << i + 1 << " changed: " << before[i];
            const bool traceLine = auditTrace && scheme->first == traceKey &&
                                   after[i] == "AuditTraceConfigFile = firebird_trace.conf";
            EXPECT_TRUE(after[i] == scheme->second || traceLine) << "line " << i + 1 << ": " << after[i];
        }
        // Each scheme key: its line is there, and so is exactly one active line of an active setting and
        // none of a commented one. (The file's own documentation may hold the same comment twice.)
        for (const auto& [key, line] : schemeLineOfKey) {
            const std::string wanted =
                auditTrace && key == traceKey ? "AuditTraceConfigFile = firebird_trace.conf" : line;
            int copies = 0, active = 0;
            for (const std::string& l : after) {
                copies += l == wanted;
                active += !trim(l).empty() && !isConfCommentLine(l) && upperAscii(getConfLineKey(l)) == key;
            }
            EXPECT_GE(copies, 1) << wanted;
            EXPECT_EQ(active, isConfCommentLine(wanted) ? 0 : 1) << key;
        }
    }
}

TEST(FbConfTuning, ActiveFilePathOfTheServerFolder) {
    EXPECT_EQ(activeFbConfPath("  C:\\Program Files\\Firebird\\Firebird_3_0 "),
              "C:\\Program Files\\Firebird\\Firebird_3_0\\firebird.conf");
    EXPECT_EQ(activeFbConfPath("C:\\fb\\"), "C:\\fb\\firebird.conf");
}
