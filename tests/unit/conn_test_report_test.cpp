// The lines that a connection test adds to its result box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conntest/conn_test_report.h"

using namespace fbwb;
using Lines = std::vector<std::string>;

namespace {

const char* const kAddress = "127.0.0.1/3050:C:\\adat\\conf.fdb";
const char* const kParameters =
    "DriverName=Firebird\r\nDatabase=127.0.0.1/3050:C:\\adat\\conf.fdb\r\nPassword=titok\r\n";

}  // namespace

TEST(ConnTestReport, StartNamesTheAddressThenWaits) {
    EXPECT_EQ(connTestStartLines(kAddress),
              (Lines{"Kapcsolódás a következő adatbázishoz: 127.0.0.1/3050:C:\\adat\\conf.fdb", "..."}));
    EXPECT_EQ(connTestStartLines("C:\\a.fdb"), (Lines{"Kapcsolódás a következő adatbázishoz: C:\\a.fdb", "..."}));
}

TEST(ConnTestReport, OutcomeWithAndWithoutTheParameters) {
    const Lines end{" ========== ", ""};
    const std::string failure = "NEM sikerült csatlakozni az adatbázishoz: " + std::string(kAddress);
    const Lines details{"",
                        "  *** A kapcsolat részletes paraméterei: ***",
                        "DriverName=Firebird",
                        "Database=127.0.0.1/3050:C:\\adat\\conf.fdb",
                        "Password=titok",
                        "  ******************************************"};
    const auto concat = [](std::initializer_list<Lines> parts) {
        Lines all;
        for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    // The client's text keeps each of its lines, whichever line break it used.
    const std::string error =
        "Unable to complete network request to host \"127.0.0.1\".\n-Failed to establish a connection.";
    const Lines errorLines{"Unable to complete network request to host \"127.0.0.1\".",
                           "-Failed to establish a connection."};
    struct Case {
        const char* name;
        ConnTestOutcome outcome;
        bool detailed;
        Lines expected;
    } cases[] = {
        {"connected",
         {true, std::nullopt, kParameters},
         false,
         concat({{"Sikerült csatlakozni az adatbázishoz."}, end})},
        {"connected, detailed",
         {true, std::nullopt, kParameters},
         true,
         concat({{"Sikerült csatlakozni az adatbázishoz."}, details, end})},
        {"failed", {false, error, kParameters}, false, concat({{failure}, errorLines, end})},
        {"failed, CR LF", {false, "a\r\n\r\nb\r\n", ""}, false, concat({{failure, "a", "", "b"}, end})},
        // The parameters were handed back before the connection failed.
        {"failed, detailed", {false, error, kParameters}, true, concat({{failure}, errorLines, details, end})},
        // A failure before they were handed back frames an empty list.
        {"failed early, detailed",
         {false, "fbclient.dll", ""},
         true,
         concat({{failure, "fbclient.dll", "", "  *** A kapcsolat részletes paraméterei: ***",
                  "  ******************************************"},
                 end})},
        // Neither connected nor failed: nothing is reported, the test is closed all the same.
        {"no outcome, detailed", {false, std::nullopt, kParameters}, true, end},
    };
    for (const Case& c : cases) EXPECT_EQ(connTestOutcomeLines(kAddress, c.outcome, c.detailed), c.expected) << c.name;
}
