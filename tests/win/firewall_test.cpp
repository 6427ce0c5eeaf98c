#include <gtest/gtest.h>
#include <netfw.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "install/firewall_win.h"
#include "platform/com_win.h"
#include "platform/encoding.h"
#include "platform/system.h"
#include "win/firewall_recorder.h"
#include "win/temp_folder.h"

using namespace fbwb;
using fbwb::test::FirewallRecorder;
using fbwb::test::TempFolder;
using Strings = std::vector<std::string>;

namespace {

// What one rule leaves in the recorder, in the order the properties are written.
Strings ruleCalls(const std::string& name, const std::string& application, const std::string& port) {
    return {"Name=" + name, "Description=" + name, "ApplicationName=" + application,
            "Protocol=6",   "LocalPorts=" + port,  "Direction=1",
            "Enabled=true", "Grouping=My Group",   "Profiles=6",
            "Action=1",     "Add=" + name};
}

// The error text of the call, or "" when it succeeded.
template <typename Call>
std::string errorOf(Call call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

constexpr const char* kFb3 = "Firebird_3_0_0_64bit";
constexpr const char* kFb25 = "Firebird_2_5_5_32bit";

}  // namespace

TEST(FirewallCom, ProgIdsNameTheFirewallClasses) {
    platform::ComScope com;
    CLSID policy{}, rule{};
    ASSERT_EQ(CLSIDFromProgID(L"HNetCfg.FwPolicy2", &policy), S_OK);
    ASSERT_EQ(CLSIDFromProgID(L"HNetCfg.FWRule", &rule), S_OK);
    EXPECT_TRUE(policy == __uuidof(NetFwPolicy2));
    EXPECT_TRUE(rule == __uuidof(NetFwRule));
}

// The stand-in rests on this: an in-process creation in the recorder's apartment reaches its class objects.
TEST(FirewallCom, RecorderAnswersInProcessCreation) {
    FirewallRecorder recorder;
    platform::ComPtr<INetFwRule> rule;
    ASSERT_EQ(CoCreateInstance(__uuidof(NetFwRule), nullptr, CLSCTX_INPROC_SERVER, __uuidof(INetFwRule),
                               reinterpret_cast<void**>(rule.put())),
              S_OK);
    EXPECT_EQ(rule->put_Enabled(1), S_OK);
    EXPECT_EQ(rule->put_Interfaces(VARIANT{}), E_NOTIMPL);
    EXPECT_EQ(recorder.calls(), Strings{"Enabled=1"});
    rule.reset();
    EXPECT_EQ(recorder.liveObjects(), 0);
}

TEST(FirewallRule, PropertiesInOrderThenAdd) {
    FirewallRecorder recorder;
    const std::string application = "C:\\Kelmora Kft\\Árvíztűrő tükörfúrógép\\firebird.exe";
    EXPECT_EQ(addFirewallRule("Tűzfal szabály ő", application, 3050), 0);
    EXPECT_EQ(recorder.calls(), ruleCalls("Tűzfal szabály ő", application, "3050"));
    EXPECT_EQ(recorder.liveObjects(), 0) << "every firewall object is released";
}

TEST(FirewallRule, FromServerFoldersOfBothLayouts) {
    TempFolder temp;
    temp.file(std::string(kFb3) + "\\firebird.exe", "MZ");
    temp.file(std::string(kFb3) + "\\firebird.conf", "#RemoteServicePort = 3050\r\n");
    temp.file(std::string(kFb25) + "\\bin\\fbserver.exe", "MZ");
    temp.file(std::string(kFb25) + "\\bin\\instsvc.exe", "MZ");
    const std::string fb3 = temp / kFb3 + "\\";
    const std::string fb25 = temp / kFb25 + "\\";

    FirewallRecorder recorder;
    allowFbServerInFirewall(fb3);
    allowFbServerInFirewall("  " + temp / kFb25 + " \t");
    Strings expected = ruleCalls(kFb3, fb3 + "firebird.exe", "3050");
    const Strings second = ruleCalls(kFb25, fb25 + "bin\\fbserver.exe", "3050");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(recorder.calls(), expected) << "a folder without its backslash is still named after itself";
}

TEST(FirewallRule, PortFromFirebirdConf) {
    struct Case {
        const char* conf;  // nullptr: no firebird.conf
        const char* port;
    };
    const Case cases[] = {
        {"#RemoteServicePort = 3051\r\n", "3050"},
        {"RemoteServicePort = 3051\r\n", "3051"},
        {"# RemoteServicePort = 3052\r\nremoteserviceport=3053 # ours\r\n", "3053"},
        {"RemoteServicePort = port\r\n", "3050"},
        {"RemoteServicePort = 3051abc\r\n", "3050"},
        {"RemoteServicePort =\r\n", "3050"},
        {"RemoteServicePort = 70587\r\n", "5051"},
        {"RemoteServicePort = 65536\r\n", "0"},
        {"RemoteServicePort = -1\r\n", "65535"},
        {"RemoteServicePort = 4294970347\r\n", "3050"},
        {"DefaultDbCachePages = 2048\r\n", "3050"},
        {nullptr, "3050"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        temp.file(std::string(kFb3) + "\\firebird.exe", "MZ");
        if (c.conf != nullptr) temp.file(std::string(kFb3) + "\\firebird.conf", c.conf);
        FirewallRecorder recorder;
        allowFbServerInFirewall(temp / kFb3 + "\\");
        const Strings calls = recorder.calls();
        ASSERT_EQ(calls.size(), 11u) << (c.conf ? c.conf : "no file");
        EXPECT_EQ(calls[4], std::string("LocalPorts=") + c.port) << (c.conf ? c.conf : "no file");
    }
}

TEST(FirewallRule, MissingServerProgramGivesEmptyApplication) {
    TempFolder temp;
    temp.file(std::string(kFb3) + "\\bin\\gbak.exe", "MZ");
    FirewallRecorder recorder;
    allowFbServerInFirewall(temp / kFb3 + "\\");
    EXPECT_EQ(recorder.calls(), ruleCalls(kFb3, "", "3050"));
}

TEST(FirewallRule, MissingOrBlankFolderDoesNothing) {
    TempFolder temp;
    const std::string file = temp.file("Firebird_3_0_0_64bit.txt", "not a folder");
    FirewallRecorder recorder;
    for (const std::string& folder : {std::string(), std::string(" \t "), temp / "missing\\", file}) {
        EXPECT_EQ(errorOf([&] { allowFbServerInFirewall(folder); }), "") << folder;
    }
    EXPECT_EQ(recorder.calls(), Strings{});
}

TEST(FirewallRule, EachInstallationAddsOneMoreRule) {
    FirewallRecorder recorder;
    addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050);
    addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050);
    const Strings one = ruleCalls(kFb3, "C:\\fb\\firebird.exe", "3050");
    Strings expected = one;
    expected.insert(expected.end(), one.begin(), one.end());
    EXPECT_EQ(recorder.calls(), expected) << "the second call still reaches the registered objects";
}

TEST(FirewallRule, FailedCallBecomesOleException) {
    struct Case {
        const char* call;
        HRESULT result;
        std::string message;
        const char* code;  // as the text shows it
        size_t callsMade;
    };
    const Case cases[] = {
        {"Direction", E_ACCESSDENIED, "A művelethez rendszergazdai jog kell.", "80070005", 6},
        {"Add", static_cast<HRESULT>(0x800706D9), "Nincs több végpont.", "800706D9", 11},
        {"Name", E_INVALIDARG, "50% %s %x %d", "80070057", 1},
        {"Rules", E_FAIL, "A szabálylista nem olvasható", "80004005", 0},
    };
    for (const Case& c : cases) {
        FirewallRecorder recorder;
        recorder.failCall(c.call, c.result, c.message);
        const std::string expected = "OleException  hibaüzenet = " + c.message + "    hibakód = " + c.code;
        EXPECT_EQ(errorOf([] { addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050); }), expected) << c.call;
        EXPECT_EQ(recorder.calls().size(), c.callsMade) << c.call << ": nothing is called after the failure";
        EXPECT_EQ(recorder.liveObjects(), 0) << c.call;
    }
}

TEST(FirewallRule, FailedCallWithoutErrorInfoGivesSystemMessage) {
    FirewallRecorder recorder;
    recorder.failCall("Add", E_ACCESSDENIED);
    const std::string message = platform::systemMessage(static_cast<std::uint32_t>(E_ACCESSDENIED));
    EXPECT_EQ(errorOf([] { addFirewallRule(kFb3, "", 3050); }),
              "OleException  hibaüzenet = " + message + "    hibakód = 80070005");
    EXPECT_FALSE(message.empty()) << "Wine has a message for access denied";
}

TEST(FirewallRule, CreationFailurePassesAsItsOwnError) {
    for (const char* progId : {"HNetCfg.FwPolicy2", "HNetCfg.FWRule"}) {
        FirewallRecorder recorder;
        recorder.failCall(progId, E_ACCESSDENIED, "ignored");
        const std::string message = platform::systemMessage(static_cast<std::uint32_t>(E_ACCESSDENIED));
        EXPECT_EQ(errorOf([] { addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050); }),
                  std::string(progId) + ": " + message + " (80070005)");
        EXPECT_EQ(recorder.calls(), Strings{}) << progId;
        EXPECT_EQ(recorder.liveObjects(), 0) << progId;
    }
}

// COM's state of a thread is seen from outside: a multithreaded initialisation succeeds (S_OK) only on a
// thread without COM, is counted (S_FALSE) on a multithreaded one, and is refused on an apartment-threaded one.
TEST(FirewallRule, ComIsUninitialisedAfterSuccessAndFailure) {
    for (const char* failing : {"", "Enabled"}) {
        HRESULT afterwards = E_UNEXPECTED;
        std::thread([&] {
            {
                FirewallRecorder recorder;
                if (*failing != '\0') recorder.failCall(failing, E_ACCESSDENIED, "nem");
                errorOf([] { addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050); });
                EXPECT_EQ(recorder.calls().size(), *failing != '\0' ? 7u : 11u);
            }
            afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(afterwards)) CoUninitialize();
        }).join();
        EXPECT_EQ(afterwards, S_OK) << failing << ": the thread has no COM left";
    }
}

TEST(FirewallRule, ThreadThatHasComInAnotherModelKeepsIt) {
    HRESULT afterwards = E_UNEXPECTED;
    std::thread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            FirewallRecorder recorder;
            EXPECT_EQ(addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050), 0);
            EXPECT_EQ(recorder.calls().size(), 11u) << "the objects are created in the thread's own model";
        }
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(afterwards, S_FALSE) << "the refused initialisation was not undone";
}

TEST(FirewallRule, WineFirewallObjectsAcceptTheRule) {
    EXPECT_EQ(errorOf([] { EXPECT_EQ(addFirewallRule(kFb3, "C:\\fb\\firebird.exe", 3050), 0); }), "");
}
