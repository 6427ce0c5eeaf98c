// The connection test dialog end to end: its tries go through the fixture client library of a
// server folder to the fixture server on 127.0.0.1 (its port typed into the dialog, as a user
// would), and the result box shows what the client answered.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "conntest/fb_test_connection_ids.h"
#include "conntest/fb_test_connection_win.h"
#include "core/text.h"
#include "platform/dialog_win.h"
#include "platform/fs.h"
#include "platform/scripted_prompter.h"
#include "win/dialog_driver.h"
#include "win/temp_folder.h"

using namespace fbwb;
using namespace fbwb::test;
using Dialog = Driven<TfrmFbTestConnection>;

namespace {

const char* const kServer30 = "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0";  // fbclient.dll on top
const char* const kServer25 = "C:\\KELMORA.WIN\\Firebird\\Firebird_2_5";  // bin\fbclient.dll
const char* const kPortFile = "C:\\fbwb-fixture\\fb-server\\port";

// A port on 127.0.0.1 that nothing listens on: one the system just handed out and took back.
std::string closedPort() {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return {};
    std::string port;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (s != INVALID_SOCKET && bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = std::to_string(ntohs(address.sin_port));
    if (s != INVALID_SOCKET) closesocket(s);
    WSACleanup();
    return port;
}

struct Try {
    std::string serverFolder;
    std::string port;
    std::string database;
    std::string password = "qwdbadmin";
};

class ConnectionTestE2e : public ::testing::Test {
protected:
    void SetUp() override {
        platform::initCommonControls();
        const auto port = platform::readFileBytes(kPortFile);
        ASSERT_TRUE(port.has_value()) << kPortFile << ": is the fb_server fixture running?";
        port_ = trim(*port);
        ASSERT_FALSE(port_.empty());
        const auto database = platform::readFileBytes("C:\\fbwb-fixture\\template.fdb");
        ASSERT_TRUE(database.has_value());
        database_ = scratch_.file("adat\\kelmora.fdb", *database);
    }

    // The dialog opened as the main window opens it, the fields typed, one test with the detailed
    // log; the result box's text.
    std::string test(const Try& t) {
        Dialog d;
        d.script = [&](Dialog& d) {
            d.type(IDC_CONN_edFbServerMainDir, t.serverFolder);
            d.type(IDC_CONN_edPort, t.port);
            d.type(IDC_CONN_edTestDbFn, t.database);
            d.type(IDC_CONN_edPw, t.password);
            d.click(IDC_CONN_cbDetailedLog);
            d.click(IDC_CONN_Button14);
            PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        };
        d.showForm(t.serverFolder, scratch_ / "adat", "127.0.0.1", "SYSDBA", "qwdbadmin");
        EXPECT_FALSE(d.fellBack);
        EXPECT_TRUE(boxes_.boxes().empty()) << "the outcome goes to the result box only";
        return d.results();
    }

    std::string failureLine(const std::string& port, const std::string& database) const {
        return "NEM sikerült csatlakozni az adatbázishoz: 127.0.0.1/" + port + ":" + database + "\r\n";
    }

    TempFolder scratch_;
    std::string port_;
    std::string database_;
    platform::ScriptedPrompter boxes_;
    platform::PrompterOverride inForce_{boxes_};
};

bool containsNoCase(const std::string& text, const std::string& part) {
    return upperAscii(text).find(upperAscii(part)) != std::string::npos;
}

}  // namespace

// Both server layouts: the client library beside the server or in its bin folder.
TEST_F(ConnectionTestE2e, ConnectsToTheFixtureDatabaseThroughEitherLayoutsClientLibrary) {
    for (const char* server : {kServer30, kServer25}) {
        const std::string results = test({server, port_, database_});
        SCOPED_TRACE(results);
        const std::string library =
            std::string(server) + (server == kServer30 ? "\\fbclient.dll" : "\\bin\\fbclient.dll");
        EXPECT_TRUE(startsWith(results, "Kapcsolódás a következő adatbázishoz: 127.0.0.1/" + port_ + ":" + database_ +
                                            "\r\n...\r\nSikerült csatlakozni az adatbázishoz.\r\n\r\n"
                                            "  *** A kapcsolat részletes paraméterei: ***\r\n"));
        EXPECT_NE(results.find("\r\nDatabase=127.0.0.1/" + port_ + ":" + database_ + "\r\n"), std::string::npos);
        EXPECT_NE(results.find("\r\nUser_Name=SYSDBA\r\n"), std::string::npos);
        EXPECT_NE(results.find("\r\nvendorLib=" + library + "\r\n"), std::string::npos);
        EXPECT_TRUE(endsWith(results, "  ******************************************\r\n ========== \r\n\r\n"));
    }
}

TEST_F(ConnectionTestE2e, FailuresShowTheClientsTextAndStillListTheParameters) {
    const std::string missing = scratch_ / "adat\\nincs.fdb";
    const std::string closed = closedPort();
    ASSERT_FALSE(closed.empty());
    struct Case {
        const char* name;
        Try t;
        std::string expectedText;
    } cases[] = {
        {"wrong password", {kServer30, port_, database_, "rossz"}, "Your user name and password are not defined."},
        {"unknown file", {kServer30, port_, missing}, "I/O error during \"open\" operation for file"},
        {"closed port", {kServer30, closed, database_}, "Unable to complete network request to host \"127.0.0.1\"."},
    };
    for (const Case& c : cases) {
        const std::string results = test(c.t);
        SCOPED_TRACE(c.name + std::string(": ") + results);
        EXPECT_NE(results.find(failureLine(c.t.port, c.t.database) + c.expectedText), std::string::npos);
        // The parameters were handed back before the connection failed.
        EXPECT_NE(results.find("\r\n  *** A kapcsolat részletes paraméterei: ***\r\nDriverName=Firebird\r\n"),
                  std::string::npos);
        EXPECT_NE(results.find("\r\nvendorLib=" + std::string(kServer30) + "\\fbclient.dll\r\n"), std::string::npos);
        EXPECT_TRUE(endsWith(results, "  ******************************************\r\n ========== \r\n\r\n"));
    }
    // The client's message names the missing file as the dialog named it.
    EXPECT_TRUE(containsNoCase(test({kServer30, port_, missing}), missing));
}

// A server folder without the client library: no vendorLib entry, and the library that cannot be
// loaded is named in the result box.
TEST_F(ConnectionTestE2e, AServerFolderWithoutTheClientLibraryReportsTheMissingLibrary) {
    const std::string empty = scratch_.folder("ures_szerver");
    const std::string results = test({empty, port_, database_});
    SCOPED_TRACE(results);
    const size_t failure = results.find(failureLine(port_, database_));
    ASSERT_NE(failure, std::string::npos);
    EXPECT_NE(results.find("fbclient.dll", failure), std::string::npos);
    EXPECT_EQ(results.find("vendorLib="), std::string::npos);
    EXPECT_EQ(results.find("Sikerült csatlakozni"), std::string::npos);
}
