// Removing a server instance's services against Wine's real Service Control Manager: the instsvc
// stand-in (tests/fixtures/instsvc_standin.cpp) registers them as the server's own tool does, and
// uninstallFirebirdServices removes them with its batch file. Each test uses an instance name of its
// own, so tests running side by side never meet.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "env/service_control_win.h"
#include "install/uninstall_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/handles_win.h"
#include "platform/process.h"
#include "script/batch_files_win.h"
#include "win/temp_folder.h"
#include "win/test_service.h"

using namespace fbwb;
using namespace fbwb::test;
using namespace std::chrono_literals;

namespace {

// A server folder whose instsvc.exe is the stand-in, with the service stand-in beside it (so the
// services it registers run a copy of the test's own).
struct StandInServer {
    std::string folder;     // the server folder
    std::string binFolder;  // where instsvc.exe lies
    std::string instsvc;
    std::string serviceProgram;

    StandInServer(const TempFolder& temp, const std::string& relative, bool binLayout) {
        folder = temp.folder(relative);
        binFolder = binLayout ? temp.folder(relative + "\\bin") : folder;
        instsvc = copy(buildFilePath(FBWB_INSTSVC_STANDIN), binFolder + "\\instsvc.exe");
        serviceProgram = copy(serviceStandinPath(), binFolder + "\\service_standin.exe");
    }
    std::string calls() const { return platform::readFileBytes(instsvc + ".calls.txt").value_or(""); }

    static std::string copy(const std::string& from, const std::string& to) {
        const auto bytes = platform::readFileBytes(from);
        EXPECT_TRUE(bytes) << from;
        platform::writeFileBytes(to, bytes.value_or(""));
        return to;
    }
};

// An instance name of this test's own; its services are removed at the end whatever happened.
struct Instance {
    std::string name = uniqueServiceName("Kelmora3T");
    std::string server() const { return "FirebirdServer" + name; }
    std::string guardian() const { return "FirebirdGuardian" + name; }
    ~Instance() {
        removeTestService(guardian());
        removeTestService(server());
    }
};

// Runs the command line hidden to its end; its exit code.
DWORD runToEnd(const std::string& commandLine) {
    const platform::Process process = platform::startProcess(commandLine, platform::ShowMode::Hidden);
    EXPECT_TRUE(process) << commandLine;
    if (!process) return 9999;
    EXPECT_EQ(platform::waitPaintingWindows(process, 60s), platform::WaitResult::Ended) << commandLine;
    DWORD code = 9999;
    GetExitCodeProcess(static_cast<HANDLE>(process.nativeHandle()), &code);
    return code;
}

// A deleted service disappears once its process and the last handle are gone: wait, bounded.
bool gone(const std::string& service) {
    for (int i = 0; i < 200 && isServiceInstalled("", service); ++i) std::this_thread::sleep_for(50ms);
    return !isServiceInstalled("", service);
}

bool reachesState(const std::string& service, unsigned long state) {
    for (int i = 0; i < 200 && queryServiceState("", service) != state; ++i) std::this_thread::sleep_for(50ms);
    return queryServiceState("", service) == state;
}

struct ServiceConfig {
    std::string displayName, commandLine;
    DWORD startType = 0, serviceType = 0;
};

ServiceConfig serviceConfig(const std::string& name) {
    const platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    const platform::UniqueServiceHandle service(
        OpenServiceW(manager.get(), platform::widen(name).c_str(), SERVICE_QUERY_CONFIG));
    if (!service) return {};
    DWORD needed = 0;
    QueryServiceConfigW(service.get(), nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(service.get(), config, needed, &needed)) return {};
    return {platform::narrow(config->lpDisplayName), platform::narrow(config->lpBinaryPathName), config->dwStartType,
            config->dwServiceType};
}

}  // namespace

TEST(InstsvcStandIn, InstallRegistersTheServicesThatNetStartsAndRemoveDeletesThem) {
    TempFolder temp;
    const StandInServer fb(temp, "Firebird_3_0_0_64bit", false);
    const Instance instance;
    const std::string program = "\"" + fb.serviceProgram + "\"";

    // As the installation's batch line writes it.
    const std::string install = "\"" + fb.instsvc + "\"  install -auto -name \"" + instance.name + "\"  -guardian ";
    EXPECT_EQ(runToEnd(install), 0u);
    const ServiceConfig server = serviceConfig(instance.server());
    EXPECT_EQ(server.displayName, "Firebird Server - " + instance.name);
    EXPECT_EQ(server.commandLine, program + " -s " + instance.name);
    EXPECT_EQ(server.startType, DWORD{SERVICE_DEMAND_START}) << "the guardian starts the server";
    EXPECT_EQ(server.serviceType, DWORD{SERVICE_WIN32_OWN_PROCESS});
    const ServiceConfig guardian = serviceConfig(instance.guardian());
    EXPECT_EQ(guardian.displayName, "Firebird Guardian - " + instance.name);
    EXPECT_EQ(guardian.commandLine, program + " -g -s " + instance.name);
    EXPECT_EQ(guardian.startType, DWORD{SERVICE_AUTO_START});
    EXPECT_EQ(guardian.serviceType, DWORD{SERVICE_WIN32_OWN_PROCESS});

    EXPECT_EQ(runToEnd(install), 1u) << "an installed name is refused";
    EXPECT_EQ(serviceConfig(instance.server()).commandLine, program + " -s " + instance.name);

    EXPECT_EQ(runToEnd("net start \"" + instance.server() + "\""), 0u);
    EXPECT_TRUE(reachesState(instance.server(), SERVICE_RUNNING));
    EXPECT_EQ(platform::readFileBytes(fb.serviceProgram + ".events.txt").value_or(""), "start\r\nrunning\r\n");

    // A running service is stopped first; a second removal finds nothing and is no error either.
    const std::string remove = "\"" + fb.instsvc + "\" remove -name \"" + instance.name + "\" ";
    EXPECT_EQ(runToEnd(remove), 0u);
    EXPECT_TRUE(gone(instance.server()));
    EXPECT_TRUE(gone(instance.guardian()));
    EXPECT_EQ(platform::readFileBytes(fb.serviceProgram + ".events.txt").value_or(""),
              "start\r\nrunning\r\nstop\r\nstopped\r\n");
    EXPECT_EQ(runToEnd(remove), 0u);

    // Every call is recorded as the recorder records it: the raw line, then each argument in [ ].
    const std::string removeLine = remove + "\t[" + fb.instsvc + "]\t[remove]\t[-name]\t[" + instance.name + "]\r\n";
    const std::string installLine =
        install + "\t[" + fb.instsvc + "]\t[install]\t[-auto]\t[-name]\t[" + instance.name + "]\t[-guardian]\r\n";
    EXPECT_EQ(fb.calls(), installLine + installLine + removeLine + removeLine);
}

TEST(InstsvcStandIn, StartTypesFollowTheSwitches) {
    struct Case {
        std::string switches;
        DWORD serverStart;
        bool guardian;
        DWORD guardianStart;
    } cases[] = {
        {"install -auto", SERVICE_AUTO_START, false, 0},
        {"install", SERVICE_AUTO_START, false, 0},
        {"install -demand", SERVICE_DEMAND_START, false, 0},
        {"install -demand -guardian", SERVICE_DEMAND_START, true, SERVICE_DEMAND_START},
        {"INSTALL -Guardian -AUTO", SERVICE_DEMAND_START, true, SERVICE_AUTO_START},
    };
    TempFolder temp;
    const StandInServer fb(temp, "Firebird_2_5_5_32bit", true);
    for (const Case& c : cases) {
        const Instance instance;
        EXPECT_EQ(runToEnd("\"" + fb.instsvc + "\" " + c.switches + " -name " + instance.name), 0u) << c.switches;
        EXPECT_EQ(serviceConfig(instance.server()).startType, c.serverStart) << c.switches;
        EXPECT_EQ(isServiceInstalled("", instance.guardian()), c.guardian) << c.switches;
        if (c.guardian) {
            EXPECT_EQ(serviceConfig(instance.guardian()).startType, c.guardianStart) << c.switches;
        }
    }
    // Nonsense is refused with a usage text and creates nothing.
    const Instance instance;
    EXPECT_EQ(runToEnd("\"" + fb.instsvc + "\" install -fast -name " + instance.name), 1u);
    EXPECT_EQ(runToEnd("\"" + fb.instsvc + "\" -name " + instance.name), 1u);
    EXPECT_FALSE(isServiceInstalled("", instance.server()));
}

TEST(UninstallFirebirdServices, RemovesBothRunningServicesWithItsBatchRunToItsEnd) {
    TempFolder temp;
    // A 2.5 layout: instsvc.exe in bin\, found by the lookup of the server folder.
    const StandInServer fb(temp, "KELMORA.WIN\\Firebird\\Firebird_2_5_5_64bit", true);
    const Instance instance;
    ASSERT_EQ(runToEnd("\"" + fb.instsvc + "\" install -auto -name " + instance.name + " -guardian"), 0u);
    ASSERT_TRUE(startServiceAndWait("", instance.guardian()));
    ASSERT_TRUE(startServiceAndWait("", instance.server()));
    const std::string callsBefore = fb.calls();

    // Blanks in the batch folder, which does not exist yet.
    const std::string batchFolder = temp / "Program Files\\fb uninstall";
    uninstallFirebirdServices(instance.name, " " + fb.folder + " ", batchFolder);

    EXPECT_TRUE(gone(instance.guardian()));
    EXPECT_TRUE(gone(instance.server()));
    const std::string batchFile = batchFolder + "\\fbUninstall_" + instance.name + ".bat";
    EXPECT_EQ(platform::readFileBytes(batchFile).value_or("(missing)"),
              "net stop \"" + instance.guardian() + "\"\r\n" +       //
                  "sc delete \"" + instance.guardian() + "\"\r\n" +  //
                  "net stop \"" + instance.server() + "\"\r\n" +     //
                  "\"" + fb.binFolder + "\\instsvc.exe\" remove -name \"" + instance.name + "\" \r\n" + "sc delete \"" +
                  instance.server() + "\"\r\n");
    // The batch has ended: instsvc's call is there.
    EXPECT_EQ(fb.calls().substr(callsBefore.size()), "\"" + fb.binFolder + "\\instsvc.exe\" remove -name \"" +
                                                         instance.name + "\" \t[" + fb.instsvc +
                                                         "]\t[remove]\t[-name]\t[" + instance.name + "]\r\n");
}

TEST(UninstallFirebirdServices, RefusedValuesWriteAndRunNothing) {
    TempFolder temp;
    const StandInServer fb(temp, "Firebird_3_0_0_64bit", false);
    const StandInServer odd(temp, "100%\\Firebird_3_0_0_64bit", false);
    struct Case {
        std::string fragment, serverFolder, refusal;
    } cases[] = {
        {"Kel%mora3", fb.folder, "A(z) Firebird szolgáltatás neve nem írható parancsfájlba"},
        {"Kelmora\"3", fb.folder, "A(z) Firebird szolgáltatás neve nem írható parancsfájlba"},
        {"Kelmora3", odd.folder, "A(z) Firebird telepítési mappája nem írható parancsfájlba"},
    };
    for (const Case& c : cases) {
        const std::string batchFolder = temp / "batches";
        try {
            uninstallFirebirdServices(c.fragment, c.serverFolder, batchFolder);
            ADD_FAILURE() << "no error for " << c.fragment << " " << c.serverFolder;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.refusal, 0), 0u) << error.what();
        }
        EXPECT_FALSE(platform::folderExists(batchFolder)) << c.fragment;
    }
    EXPECT_EQ(fb.calls() + odd.calls(), "");
}

TEST(UninstallFirebirdServices, AFolderThatCannotBeMadeRaisesAndRunsNothing) {
    TempFolder temp;
    const StandInServer fb(temp, "Firebird_3_0_0_64bit", false);
    // A file stands where a folder of the path should be.
    const std::string blocker = temp.file("blocker", "x");
    EXPECT_THROW(uninstallFirebirdServices("Kelmora3", fb.folder, blocker + "\\batches"), std::runtime_error);
    EXPECT_EQ(fb.calls(), "");
}

// CreateProcess takes an unquoted command line with blanks for a program name and arguments, trying
// the shortest name first: "<folder>\my dir\x.bat" starts "<folder>\my.exe" when one is there.
TEST(RunInstallBatch, RunsTheBatchItselfWhereAShorterProgramNameWouldBeTriedFirst) {
    TempFolder temp;
    const std::string impostor = StandInServer::copy(buildFilePath(FBWB_RECORDER), temp / "my.exe");
    const std::string batch = temp / "my dir\\fbInstall_Firebird_3_0_0_64bit.bat";
    temp.folder("my dir");
    const std::string out = temp / "ran.txt";
    saveBatchFile({"@echo off", "ping -n 2 127.0.0.1 >nul", "echo ran> \"" + out + "\""}, batch);

    runInstallBatch(batch);
    EXPECT_EQ(platform::readFileBytes(out).value_or("(missing)"), "ran\r\n") << "the batch ran to its end";
    EXPECT_FALSE(platform::fileExists(impostor + ".calls.txt")) << "the shorter name was not started";

    // The fault the quotes mend, shown on the same files.
    platform::deleteFileClearingAttributes(out);
    RunProgramSync(batch, platform::ShowMode::Hidden);
    EXPECT_TRUE(platform::fileExists(impostor + ".calls.txt"));
    EXPECT_FALSE(platform::fileExists(out));
}

// The fixture machine's server folders carry the stand-in as instsvc.exe; with no service stand-in
// beside it, its services run the machine's copy in C:\fbwb-fixture\.
TEST(InstsvcStandIn, TheMachinesServerFoldersRegisterServicesOfTheMachinesServiceProgram) {
    const std::string program = "\"C:\\fbwb-fixture\\service_standin.exe\"";
    for (const std::string& instsvc : {std::string("C:\\KELMORA.WIN\\Firebird\\Firebird_2_5\\bin\\instsvc.exe"),
                                       std::string("C:\\Program Files\\Firebird\\Firebird_3_0_11\\instsvc.exe")}) {
        const Instance instance;
        ASSERT_EQ(runToEnd("\"" + instsvc + "\" install -auto -name " + instance.name), 0u) << instsvc;
        EXPECT_EQ(serviceConfig(instance.server()).commandLine, program + " -s " + instance.name);
        EXPECT_TRUE(startServiceAndWait("", instance.server())) << instsvc;
        EXPECT_EQ(runToEnd("\"" + instsvc + "\" remove -name " + instance.name), 0u) << instsvc;
        EXPECT_TRUE(gone(instance.server())) << instsvc;
    }
}
