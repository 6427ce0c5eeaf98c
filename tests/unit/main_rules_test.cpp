#include <gtest/gtest.h>

#include <set>

#include "app/main_rules.h"
#include "platform/scripted_prompter.h"

using namespace fbwb;
using platform::BoxKind;
using platform::ScriptedPrompter;

TEST(GetInstallRoot, CutsAboveTheFirstDigitsOnlyLevel) {
    struct Case {
        const char* dataFolder;
        const char* expected;
    } cases[] = {
        {"c:\\KELMORA.WIN\\2017\\adat", "C:\\KELMORA.WIN\\"},
        {"d:\\data\\firm", "D:\\DATA\\FIRM\\"},
        {"\\\\srv\\share\\2016\\adat", "\\\\SRV\\SHARE\\"},
        {"c:\\KELMORA.WIN\\###YEAR###\\adat", "C:\\KELMORA.WIN\\###YEAR###\\ADAT\\"},
        {"  c:\\kelmora.win\\2017\\adat  ", "C:\\KELMORA.WIN\\"},
        {"c:\\ a \\ 2017 \\adat", "C:\\A\\"},             // pieces are trimmed before the test
        {"c:\\x\\\\2017", "C:\\X\\\\"},                    // an empty piece gives one backslash
        {"c:\\2017a\\2017\\b", "C:\\2017A\\"},            // digits and letters is not a year
        {"c:\\adat\\", "C:\\ADAT\\\\"},                    // the empty last piece adds a backslash
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(getInstallRoot(c.dataFolder), c.expected) << c.dataFolder;
}

TEST(ServerSearchRoot, CutsAfterTheSoftwaresFolderCaseSensitively) {
    struct Case {
        const char* dataFolder;
        const char* expected;
    } cases[] = {
        {"c:\\KELMORA.WIN\\2017\\adat", "c:\\KELMORA.WIN\\"},
        {"c:\\KELMORA.WIN\\2017\\adat\\", "c:\\KELMORA.WIN\\"},
        {" d:\\x\\KELMORA.WIN\\KELMORA.WIN\\a ", "d:\\x\\KELMORA.WIN\\"},
        {"c:\\kelmora.win\\2017\\adat", "c:\\kelmora.win\\2017\\adat\\"},  // not found: the whole path
        {"c:\\KELMORA.WIN", "c:\\KELMORA.WIN\\"},
        {"c:\\KELMORA.WINX\\2017", "c:\\KELMORA.WINX\\2017\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(serverSearchRoot(c.dataFolder), c.expected) << c.dataFolder;
}

TEST(MissingFolderMessage, IsComposedByteForByte) {
    EXPECT_EQ(missingFolderMessage("Az alábbi mappában létrehozhatóak ideiglenes fájlok: ", "d:\\tmp\\x\\"),
              " A megadott mappa nem létezik: \r\n    Az alábbi mappában létrehozhatóak ideiglenes fájlok: "
              "d:\\tmp\\x\\\r\n\r\nEnnek ellenére folytatja a műveletet?");
}

namespace {

// Records which folders the guards asked about; the named ones exist.
struct FolderWorld {
    std::set<std::string> existing;
    std::vector<std::string> asked;
    FolderProbe probe() {
        return [this](const std::string& folder) {
            asked.push_back(folder);
            return existing.count(folder) > 0;
        };
    }
};

CommonSettings untidySettings() {
    CommonSettings s;
    s.serverFolder = "  c:\\fb ";
    s.dataFolder = " c:\\data\t";
    s.tempFolder = " c:\\temp ";
    s.userName = "  SYSDBA ";
    s.password = " secret  ";
    return s;
}

}  // namespace

TEST(Guards, PassingGuardsNormaliseSilently) {
    ScriptedPrompter boxes;
    platform::PrompterOverride inForce(boxes);
    FolderWorld world{{"c:\\fb", "c:\\data", "c:\\temp\\"}, {}};
    CommonSettings s = untidySettings();

    EXPECT_TRUE(runGuards(ToolAction::Maintenance, s, world.probe()));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(world.asked, (std::vector<std::string>{"c:\\fb", "c:\\data", "c:\\temp\\"}));
    EXPECT_EQ(s.serverFolder, "c:\\fb");
    EXPECT_EQ(s.dataFolder, "c:\\data");
    EXPECT_EQ(s.tempFolder, "c:\\temp\\");
    EXPECT_EQ(s.userName, "SYSDBA");
    EXPECT_EQ(s.password, "secret");
}

TEST(Guards, EachActionRunsItsGuardsInOrder) {
    struct Case {
        ToolAction action;
        std::vector<std::string> asked;
        bool credentialsTrimmed;
    } cases[] = {
        {ToolAction::Install, {"c:\\temp\\"}, false},
        {ToolAction::Convert, {"c:\\fb", "c:\\data", "c:\\temp\\"}, true},
        {ToolAction::ServerSettings, {"c:\\fb", "c:\\temp\\"}, true},
        {ToolAction::DatabaseSettings, {"c:\\fb", "c:\\data", "c:\\temp\\"}, true},
        {ToolAction::Maintenance, {"c:\\fb", "c:\\data", "c:\\temp\\"}, true},
        {ToolAction::Web, {}, false},
    };
    for (const auto& c : cases) {
        ScriptedPrompter boxes;
        platform::PrompterOverride inForce(boxes);
        FolderWorld world{{"c:\\fb", "c:\\data", "c:\\temp\\"}, {}};
        CommonSettings s = untidySettings();
        EXPECT_TRUE(runGuards(c.action, s, world.probe()));
        EXPECT_EQ(world.asked, c.asked) << static_cast<int>(c.action);
        EXPECT_EQ(s.userName == "SYSDBA", c.credentialsTrimmed) << static_cast<int>(c.action);
    }
}

TEST(Guards, MissingFolderAsksAndTheAnswerDecides) {
    struct Case {
        bool yes;
        bool goesOn;
        std::vector<std::string> asked;
    } cases[] = {
        {true, true, {"c:\\fb", "c:\\data", "c:\\temp\\"}},
        {false, false, {"c:\\fb", "c:\\data"}},  // No stops before the later guards
    };
    for (const auto& c : cases) {
        ScriptedPrompter boxes;
        boxes.answer(c.yes);
        platform::PrompterOverride inForce(boxes);
        FolderWorld world{{"c:\\fb", "c:\\temp\\"}, {}};
        CommonSettings s = untidySettings();

        EXPECT_EQ(runGuards(ToolAction::DatabaseSettings, s, world.probe()), c.goesOn);
        EXPECT_EQ(world.asked, c.asked);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_TRUE(boxes.boxes()[0].question);
        EXPECT_EQ(boxes.boxes()[0].kind, BoxKind::Error);
        EXPECT_EQ(boxes.boxes()[0].text,
                  " A megadott mappa nem létezik: \r\n    A kelmora adatbázis-fájlokat tároló mappa útvonala:"
                  "c:\\data\r\n\r\nEnnek ellenére folytatja a műveletet?");
        EXPECT_EQ(s.dataFolder, "c:\\data") << "written back trimmed whatever the answer";
    }
}

TEST(Guards, EachFolderGuardQuotesItsOwnLabelAndNormalisedValue) {
    struct Case {
        ToolAction action;
        std::string expectedText;
    } cases[] = {
        {ToolAction::ServerSettings,
         " A megadott mappa nem létezik: \r\n    A telepített Firebird kiszolgáló mappája: c:\\fb"
         "\r\n\r\nEnnek ellenére folytatja a műveletet?"},
        {ToolAction::Install,
         " A megadott mappa nem létezik: \r\n    Az alábbi mappában létrehozhatóak ideiglenes fájlok: c:\\temp\\"
         "\r\n\r\nEnnek ellenére folytatja a műveletet?"},
    };
    for (const auto& c : cases) {
        ScriptedPrompter boxes;
        boxes.answer(false);
        platform::PrompterOverride inForce(boxes);
        FolderWorld world;
        CommonSettings s = untidySettings();
        EXPECT_FALSE(runGuards(c.action, s, world.probe()));
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, c.expectedText);
    }
}

TEST(Guards, EmptyServerFolderIsAskedAbout) {
    ScriptedPrompter boxes;
    boxes.answer(false);
    platform::PrompterOverride inForce(boxes);
    FolderWorld world;
    CommonSettings s;
    s.serverFolder = "";
    EXPECT_FALSE(checkServerFolder(s, world.probe()));
    EXPECT_EQ(boxes.boxes().at(0).text,
              " A megadott mappa nem létezik: \r\n    A telepített Firebird kiszolgáló mappája: "
              "\r\n\r\nEnnek ellenére folytatja a műveletet?");
}

TEST(Guards, TempFolderGetsItsBackslashWhateverTheAnswer) {
    for (bool exists : {true, false}) {
        ScriptedPrompter boxes;
        boxes.answer(false);
        boxes.answer(true);
        platform::PrompterOverride inForce(boxes);
        FolderWorld world;
        if (exists) world.existing.insert("c:\\KELMORA.WIN\\");
        CommonSettings s;
        s.tempFolder = "c:\\KELMORA.WIN";
        EXPECT_EQ(checkTempFolder(s, world.probe()), exists);
        EXPECT_EQ(s.tempFolder, "c:\\KELMORA.WIN\\");
        s.tempFolder = "c:\\KELMORA.WIN\\ ";
        checkTempFolder(s, world.probe());
        EXPECT_EQ(s.tempFolder, "c:\\KELMORA.WIN\\") << "exactly one backslash";
    }
}

TEST(MaintenanceBatchField, BlankFieldGetsTheDefaultNameAndAFilledOneIsKept) {
    EXPECT_EQ(maintenanceBatchFieldBeforeGuards("", " c:\\KELMORA.WIN "), "c:\\KELMORA.WIN\\dbMaintain.bat");
    EXPECT_EQ(maintenanceBatchFieldBeforeGuards("  \t", "c:\\t\\"), "c:\\t\\dbMaintain.bat");
    EXPECT_EQ(maintenanceBatchFieldBeforeGuards(" d:\\x.bat", "c:\\t"), " d:\\x.bat");
}
