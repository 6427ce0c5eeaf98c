#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/message_page.h"
#include "core/text.h"
#include "core/texts_core.h"
#include "core/working_fields.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/scripted_prompter.h"
#include "env/service_control_win.h"
#include "serverconf/fbconf_tuning.h"
#include "serverconf/fbconf_tuning_run_win.h"
#include "serverconf/texts_serverconf.h"
#include "env/texts_env.h"
#include "temp_folder.h"
#include "test_service.h"

using namespace fbwb;
using namespace fbwb::texts_serverconf;
using fbwb::test::TempFolder;
using platform::BoxKind;

namespace {

std::string expected(const char* name) {
    return platform::readFileBytes(std::string(FBWB_TEST_DATA_DIR) + "/fbconf/" + name).value_or("<missing>");
}

std::string readAll(const std::string& path) { return platform::readFileBytes(path).value_or("<missing>"); }

// A tuning run with scripted answers; nothing is opened, the requests are recorded.
struct TuningRun {
    TempFolder temp;
    std::string serverFolder = temp.folder("Firebird_3_0") + "\\";
    std::string tempFolder = temp.folder("temp") + "\\";
    WorkingFields fields;
    FbConfFields conf = defaultFbConfFields();
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride usePrompter{prompter};
    platform::ShellOpenRecorder shell;

    void run(const FbConfChoice& choice) {
        CommonSettings settings;
        settings.serverFolder = serverFolder;
        settings.tempFolder = tempFolder;
        runFbConfTuning(fields, conf, settings, choice);
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : prompter.boxes()) texts.push_back(box.text);
        return texts;
    }
    // Every name in the folder, so a test sees a file left behind.
    std::vector<std::string> namesIn(const std::string& folder) const {
        std::vector<std::string> names;
        platform::enumerateEntries(folder + "*", [&](const platform::DirEntry& e) {
            if (e.name != "." && e.name != "..") names.push_back(e.name);
        });
        return names;
    }
};

}  // namespace

TEST(FbConfTuningRun, NewFileHoldsTheSchemeAndThePageSaysWhatToCopy) {
    for (bool auditTrace : {false, true}) {
        SCOPED_TRACE(auditTrace ? "audit trace on" : "audit trace off");
        TuningRun r;
        const std::string target = r.temp.folder("minta \xC3\xA1rv\xC3\xADz") + "\\firebird_MINTA.conf";
        r.run({true, "  " + target + " ", auditTrace});

        EXPECT_EQ(readAll(target), expected(auditTrace ? "new.trace.after.conf" : "new.after.conf"));
        const std::string trace = r.temp.path() + "minta \xC3\xA1rv\xC3\xADz\\firebird_trace.conf";
        EXPECT_EQ(platform::fileExists(trace), auditTrace);
        if (auditTrace) {
            EXPECT_EQ(readAll(trace), expected("firebird_trace.conf"));
        }
        EXPECT_EQ(r.conf.edFbConfFn, target);
        EXPECT_EQ(r.fields.mLog.lines(), (std::vector<std::string>{std::string(kEditStart) + target,
                                                                   std::string(kSaved) + target}));
        EXPECT_EQ(r.boxTexts(), std::vector<std::string>{std::string(texts_core::kRunFinished)});

        std::string items;
        if (auditTrace) items += htmlListItem(fill(kCopyTraceItem, {trace}));
        items += htmlListItem(fill(kCopyConfItem, {target})) + htmlListItem(kRestartItem);
        const std::string page = r.tempFolder + std::string(kMessagePageName);
        EXPECT_EQ(readAll(page), platform::toCodePage(messagePageText(items), platform::ansiCodePage()) + "\r\n");
        ASSERT_EQ(r.shell.requests().size(), 1u);
        EXPECT_EQ(r.shell.requests()[0].file, page);
    }
}

TEST(FbConfTuningRun, AnExistingNewFileIsReplacedOnlyWhenTheAnswerIsYes) {
    for (bool yes : {false, true}) {
        TuningRun r;
        const std::string target = r.temp.file("firebird_MINTA.conf", "RemoteServicePort = 3051\r\nMine = 1\r\n");
        r.prompter.answer(yes);
        r.run({true, target, false});
        const std::string question = fill(kOverwriteQuestion, {target});
        if (yes) {
            // The old lines are gone: the file is new, not tuned.
            EXPECT_EQ(readAll(target), expected("new.after.conf"));
            EXPECT_EQ(r.boxTexts(), (std::vector<std::string>{question, std::string(texts_core::kRunFinished)}));
        } else {
            EXPECT_EQ(readAll(target), "RemoteServicePort = 3051\r\nMine = 1\r\n");
            EXPECT_EQ(r.boxTexts(), (std::vector<std::string>{question, std::string(kNotCarriedOut)}));
            EXPECT_TRUE(r.fields.mLog.lines().empty());
            EXPECT_TRUE(r.shell.requests().empty());
        }
    }
}

TEST(FbConfTuningRun, ActiveFileIsTunedInPlaceWithoutAPage) {
    struct Case {
        const char* name;
        const char* before;  // nullptr: the server folder has no firebird.conf
        bool auditTrace;
        const char* after;
    } cases[] = {
        {"no file yet", nullptr, false, "new.after.conf"},
        {"edge cases", "edge.before.conf", false, "edge.after.conf"},
        {"edge cases with the trace", "edge.before.conf", true, "edge.trace.after.conf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TuningRun r;
        const std::string target = r.serverFolder + "firebird.conf";
        if (c.before) platform::writeFileBytes(target, expected(c.before));
        r.prompter.answer(false);  // no restart
        r.run({false, "C:\\never\\used.conf", c.auditTrace});

        EXPECT_EQ(readAll(target), expected(c.after));
        EXPECT_EQ(platform::fileExists(r.serverFolder + "firebird_trace.conf"), c.auditTrace);
        EXPECT_EQ(r.boxTexts(), (std::vector<std::string>{std::string(kRestartQuestion), std::string(texts_core::kRunFinished)}));
        EXPECT_TRUE(r.fields.mHtmMsg.empty());
        EXPECT_TRUE(r.shell.requests().empty());
        EXPECT_FALSE(platform::fileExists(r.tempFolder + std::string(kMessagePageName)));
        // Nothing else beside it: the new file took the old one's place.
        EXPECT_EQ(r.namesIn(r.serverFolder).size(), c.auditTrace ? 2u : 1u);
    }
}

TEST(FbConfTuningRun, AFileThatIsNotEightBitTextIsNeverWritten) {
    const std::string utf16("\xFF\xFER\0e\0m\0o\0t\0e\0=\0" "1\0\r\0\n\0", 22);
    const std::string nul("RemoteServicePort = 3051\r\nX = \0\r\n", 33);
    for (const std::string& bytes : {utf16, nul}) {
        TuningRun r;
        const std::string target = r.serverFolder + "firebird.conf";
        platform::writeFileBytes(target, bytes);
        r.run({false, "", true});
        EXPECT_EQ(readAll(target), bytes);
        EXPECT_EQ(r.boxTexts(),
                  (std::vector<std::string>{std::string(kNotSingleByteText) + target, std::string(kNotCarriedOut)}));
        // Not even the trace file: the refusal comes before anything is written.
        EXPECT_EQ(r.namesIn(r.serverFolder), std::vector<std::string>{"firebird.conf"});
    }
}

TEST(FbConfTuningRun, AFailedSaveLeavesTheFileAsItWas) {
    // A read-only firebird.conf of the server.
    {
        TuningRun r;
        const std::string target = r.serverFolder + "firebird.conf";
        const std::string original = expected("edge.before.conf");
        platform::writeFileBytes(target, original);
        TempFolder::setAttributes(target, FILE_ATTRIBUTE_READONLY);
        r.run({false, "", false});
        EXPECT_EQ(readAll(target), original);
        ASSERT_EQ(r.prompter.boxes().size(), 2u);
        const std::string report = r.prompter.boxes()[0].text;
        EXPECT_EQ(r.prompter.boxes()[0].kind, BoxKind::Error);
        EXPECT_TRUE(startsWith(report, fill("Nem sikerült elmentei a A FIREBIRD.CONF fájlt ( %s ). A hiba leítása: ",
                                            {target})))
            << report;
        EXPECT_TRUE(endsWith(report, " ")) << report;
        EXPECT_GT(report.size(), fill(kSaveFailed, {target, ""}).size()) << "the system's text is missing";
        EXPECT_EQ(r.prompter.boxes()[1].text, kNotCarriedOut);
        EXPECT_EQ(r.fields.mLog.lines().back(), "HIBA   ---> " + report);
        EXPECT_EQ(r.namesIn(r.serverFolder), std::vector<std::string>{"firebird.conf"});
        TempFolder::setAttributes(target, FILE_ATTRIBUTE_NORMAL);
    }
    // A new file whose folder cannot be made: a file stands in its way.
    {
        TuningRun r;
        const std::string blocker = r.temp.file("blocker", "keep");
        const std::string target = blocker + "\\sub\\firebird_MINTA.conf";
        r.run({true, target, false});
        EXPECT_EQ(readAll(blocker), "keep");
        ASSERT_EQ(r.prompter.boxes().size(), 2u);
        EXPECT_TRUE(startsWith(r.prompter.boxes()[0].text, fill(kSaveFailed, {target, ""}).substr(0, 60)));
        EXPECT_EQ(r.prompter.boxes()[1].text, kNotCarriedOut);
        EXPECT_TRUE(r.shell.requests().empty());
    }
}

// The instances that the installer makes carry their own names: the restart reaches the one whose
// program lies in the tuned server's folder, besides the two usual names.
TEST(FbConfTuningRun, TheRestartReachesTheServiceOfTheTunedServer) {
    TuningRun r;
    const auto standIn = platform::readFileBytes(test::serviceStandinPath());
    ASSERT_TRUE(standIn);
    const std::string program = r.temp.file("Firebird_3_0\\firebird.exe", *standIn);
    test::TestService service("FirebirdServerKelmora3", "\"" + program + "\" -s Kelmora3");
    ASSERT_TRUE(service.created());
    ASSERT_TRUE(startServiceAndWait("", service.name()));

    r.prompter.answer(true);
    r.run({false, "", false});
    using namespace texts_env;
    const std::string edited = r.serverFolder + "firebird.conf";
    EXPECT_EQ(r.fields.mLog.lines(),
              (std::vector<std::string>{std::string(kEditStart) + edited, std::string(kSaved) + edited,
                                        std::string(kQueryLine) + "FirebirdServerDefaultInstance",
                                        std::string(kNotInstalledLine), std::string(kQueryLine) + "FirebirdServer",
                                        std::string(kNotInstalledLine), std::string(kQueryLine) + service.name(),
                                        std::string(kStopLine) + service.name(), std::string(kStartLine) + service.name(),
                                        std::string(kDoneLine)}));
    EXPECT_EQ(platform::readFileBytes(program + ".events.txt").value_or(""),
              "start\r\nrunning\r\nstop\r\nstopped\r\nstart\r\nrunning\r\n");
    EXPECT_EQ(r.boxTexts(), (std::vector<std::string>{std::string(kRestartQuestion), std::string(texts_core::kRunFinished)}));
}
