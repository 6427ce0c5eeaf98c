// The installation as a user runs it: a copy of the window's driver program lies beside kits made from
// the test machine's fixture files, shows the installer window, presses its buttons and reports what
// the window showed; this side checks that report and the machine afterwards (install folders, batch
// files, services).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "install/install_window_ids.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/handles_win.h"
#include "win/temp_folder.h"
#include "win/test_service.h"

using namespace fbwb;
using namespace fbwb::test;

namespace {

const std::string kKitDir = buildFilePath(FBWB_KIT_DIR) + "\\";
const std::string kChild = buildFilePath(FBWB_INSTALL_CHILD);
const std::string kKit25 = "Firebird_2_5_5_64bit";
const std::string kKit30 = "Firebird_3_0_0_64bit";
const char* const kServices[] = {"FirebirdGuardianKelmora2", "FirebirdServerKelmora2", "FirebirdGuardianKelmora3",
                                 "FirebirdServerKelmora3"};

using Report = std::map<std::string, std::string>;

std::vector<std::string> lines(const std::string& escaped) {
    return escaped.empty() ? std::vector<std::string>{} : splitLines(replaceAll(escaped, "\\n", "\n"));
}

bool serviceExists(const char* name) {
    const platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    const platform::UniqueServiceHandle service(
        OpenServiceW(manager.get(), platform::widen(name).c_str(), SERVICE_QUERY_STATUS));
    return static_cast<bool>(service);
}

std::set<std::string> entries(const std::string& folder) {
    std::set<std::string> names;
    platform::listFolder(folder, [&](const platform::DirEntry& entry) { names.insert(entry.name); });
    return names;
}

// One argument as the C runtime reads it back: backslashes before the closing quote doubled.
std::string quoted(const std::string& argument) {
    std::string text = "\"" + argument;
    for (size_t at = argument.size(); at > 0 && argument[at - 1] == '\\'; --at) text += '\\';
    return text + "\"";
}

std::vector<std::string> splitFolders(const std::string& joined) {
    std::vector<std::string> folders;
    for (size_t start = 0; !joined.empty();) {
        const size_t bar = joined.find('|', start);
        folders.push_back(joined.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return folders;
}

std::string fileText(const std::string& path) { return platform::readFileBytes(path).value_or("<missing>"); }

class InstallWindow : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* service : kServices) removeTestService(service);
        platform::createFolders(program_);
        platform::createFolders(kelmoraWin_);
        platform::createFolders(tempDir_);
    }
    void TearDown() override {
        for (const char* service : kServices) removeTestService(service);
    }

    // A kit (made by tests/fixtures/make-kits.py) beside the program, from the good or a bad set.
    void putKit(const std::string& kit, const std::string& from = "") {
        const auto bytes = platform::readFileBytes(kKitDir + from + kit + ".zip");
        ASSERT_TRUE(bytes) << kKitDir + from + kit + ".zip";
        platform::writeFileBytes(program_ + kit + ".zip", *bytes);
    }

    // Runs a fresh copy of the driver beside the kits and returns its report.
    Report run(const std::vector<std::string>& options, std::string kelmoraWin = "") {
        if (kelmoraWin.empty()) kelmoraWin = kelmoraWin_;
        const std::string exe = program_ + "install_window_child.exe";
        const auto bytes = platform::readFileBytes(kChild);
        EXPECT_TRUE(bytes) << kChild;
        if (!bytes) return {};
        platform::writeFileBytes(exe, *bytes);
        const std::string result = temp_ / "result.txt";
        platform::deleteFileClearingAttributes(result);
        std::string commandLine = quoted(exe);
        for (const std::string& argument : {result, kelmoraWin, tempDir_}) commandLine += " " + quoted(argument);
        for (const std::string& option : options) commandLine += " " + quoted(option);
        std::wstring line = platform::widen(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   platform::widen(program_).c_str(), &startup, &process));
        if (process.hProcess == nullptr) return {};
        const DWORD waited = WaitForSingleObject(process.hProcess, 240000);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        EXPECT_EQ(waited, WAIT_OBJECT_0);
        EXPECT_EQ(code, 0u);
        Report report;
        for (const std::string& entry : splitLines(fileText(result))) {
            const size_t tab = entry.find('\t');
            if (tab != std::string::npos) report[entry.substr(0, tab)] = entry.substr(tab + 1);
        }
        EXPECT_EQ(report["scriptRan"], "1");
        EXPECT_EQ(report["fellBack"], "0");
        return report;
    }

    std::string installFolder(const std::string& kit) const { return kelmoraWin_ + "Firebird\\" + kit + "\\"; }

    TempFolder temp_;
    const std::string program_ = temp_ / "prog\\";
    const std::string kelmoraWin_ = temp_ / "KELMORA.WIN\\";
    const std::string tempDir_ = temp_ / "tmp\\";
};

std::vector<std::string> succeededLines(const std::string& name, const std::string& folder) {
    return {" A " + name + " telepítése megkezdődött...kérem várjon",
            " A " + name + " telepítése sikeresen befejeződött az alábbi mappába: " + folder,
            " A Windows tűzfal-szabályainak módosítása a " + name + " számára.",
            " A Windows tűzfal-szabályainak módosítása sikeresen befejeződött."};
}

// The recorded rule of one install folder: an inbound TCP rule for the server program on the kit's port.
std::vector<std::string> firewallRule(const std::string& kit, const std::string& program, int port) {
    return {"Name=" + kit,
            "Description=" + kit,
            "ApplicationName=" + program,
            "Protocol=6",
            "LocalPorts=" + std::to_string(port),
            "Direction=1",
            "Enabled=true",
            "Grouping=My Group",
            "Profiles=6",
            "Action=1",
            "Add=" + kit};
}

std::vector<std::string> firewallCalls(Report& report) {
    std::vector<std::string> calls;
    for (int i = 0; report.count("firewall." + std::to_string(i)); ++i)
        calls.push_back(report["firewall." + std::to_string(i)]);
    return calls;
}

// The arguments of each instsvc.exe call that the stand-in recorded, joined by blanks.
std::vector<std::string> instsvcCalls(const std::string& instsvc) {
    std::vector<std::string> calls;
    for (const std::string& line : splitLines(fileText(instsvc + ".calls.txt"))) {
        std::string arguments;
        size_t at = line.find("\t[");
        if (at != std::string::npos) at = line.find("\t[", at + 1);  // past the program's own name
        while (at != std::string::npos) {
            const size_t close = line.find(']', at);
            arguments += (arguments.empty() ? "" : " ") + line.substr(at + 2, close - at - 2);
            at = line.find("\t[", close);
        }
        calls.push_back(arguments);
    }
    return calls;
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The batch's lines, for the bin folder that holds instsvc.exe (Part of the generator's rules).
std::string installBatch(const std::string& binFolder, const std::string& fragment) {
    const std::string guardian = "FirebirdGuardian" + fragment, server = "FirebirdServer" + fragment;
    const std::string instsvc = "\"" + binFolder + "instsvc.exe\"";
    return joinLinesCrLf(
        {"net stop \"" + guardian + "\"", "sc delete \"" + guardian + "\"", "net stop \"" + server + "\"",
         instsvc + " remove -name \"" + fragment + "\" ", "sc delete \"" + server + "\"",
         instsvc + "  install -auto -name \"" + fragment + "\"  -guardian ", "net start \"" + server + "\"",
         "sc config \"" + guardian + "\"  start= auto", "net start \"" + guardian + "\""});
}

}  // namespace

TEST_F(InstallWindow, BothKitsAreOfferedCheckedAndInstalledWithTheirServicesAndBatches) {
    putKit(kKit25);
    putKit(kKit30);
    Report r = run({"--install"});
    EXPECT_EQ(r["caption"], "Firebird telepítő");
    for (const char* box : {"cb25", "cb30"}) {
        EXPECT_EQ(r[std::string("shown.") + box + ".visible"], "1") << box;
        EXPECT_EQ(r[std::string("shown.") + box + ".checked"], "1") << box;
    }
    EXPECT_EQ(r["shown.installButton.visible"], "1");
    EXPECT_EQ(r["shown.noKit.visible"], "0");
    EXPECT_EQ(r["shown.proc.visible"], "0");
    EXPECT_EQ(r["shown.target.visible"], "0");
    EXPECT_EQ(r["shown.target.text"], kelmoraWin_);

    const std::string folder25 = installFolder(kKit25), folder30 = installFolder(kKit30);
    EXPECT_EQ(lines(r["after.proc.text"]),
              concat(succeededLines("Firebird 2.5", folder25), succeededLines("Firebird 3.0", folder30)));
    EXPECT_EQ(r["after.gauge.max"], "6");
    EXPECT_EQ(r["after.gauge.pos"], "6");
    EXPECT_EQ(r["after.gauge.visible"], "0");
    EXPECT_EQ(r["after.finish.enabled"], "1");
    EXPECT_EQ(r["after.installButton.visible"], "0");
    EXPECT_EQ(r["after.group.visible"], "0");
    EXPECT_EQ(r["box.0"], "message|Az adatbázis-kezelő telepítése befejeződött.");
    EXPECT_EQ(r.count("box.1"), 0u);

    // The kits' layouts, unpacked; each batch written byte for byte and run.
    for (const std::string& file :
         {folder25 + "firebird.conf", folder25 + "bin\\instsvc.exe", folder25 + "bin\\fbserver.exe",
          folder25 + "bin\\gbak.exe", folder30 + "firebird.conf", folder30 + "instsvc.exe", folder30 + "firebird.exe"})
        EXPECT_TRUE(platform::fileExists(file)) << file;
    EXPECT_EQ(fileText(folder25 + "fbInstall_" + kKit25 + ".bat"), installBatch(folder25 + "bin\\", "Kelmora2"));
    EXPECT_EQ(fileText(folder30 + "fbInstall_" + kKit30 + ".bat"), installBatch(folder30, "Kelmora3"));
    // The batches reached Wine's service manager through the instsvc stand-in: removal, then installation;
    // the failing "sc config" line did not stop the batch.
    EXPECT_EQ(instsvcCalls(folder25 + "bin\\instsvc.exe"),
              (std::vector<std::string>{"remove -name Kelmora2", "install -auto -name Kelmora2 -guardian"}));
    EXPECT_EQ(instsvcCalls(folder30 + "instsvc.exe"),
              (std::vector<std::string>{"remove -name Kelmora3", "install -auto -name Kelmora3 -guardian"}));
    for (const char* service : kServices) EXPECT_TRUE(serviceExists(service)) << service;
    EXPECT_EQ(firewallCalls(r), concat(firewallRule(kKit25, folder25 + "bin\\fbserver.exe", 3050),
                                       firewallRule(kKit30, folder30 + "firebird.exe", 3050)));
    // A first installation removes nothing beforehand.
    EXPECT_FALSE(platform::fileExists(folder25 + "fbUninstall_Kelmora2.bat"));
    EXPECT_FALSE(platform::fileExists(folder30 + "fbUninstall_Kelmora3.bat"));
    // The kits stay beside the program.
    EXPECT_TRUE(platform::fileExists(program_ + kKit25 + ".zip"));
}

TEST_F(InstallWindow, ASecondInstallationRemovesTheServicesFirstAndReplacesOnlyTheKitsFiles) {
    putKit(kKit25);
    putKit(kKit30);
    run({"--install"});
    const std::string folder25 = installFolder(kKit25), folder30 = installFolder(kKit30);
    const std::string kitConf = fileText(folder30 + "firebird.conf");
    platform::writeFileBytes(folder30 + "firebird.conf", "RemoteServicePort = 3051\r\n");
    platform::writeFileBytes(folder30 + "security3.fdb", "the administrator's own\r\n");
    platform::writeFileBytes(folder25 + "bin\\extra.txt", "kept\r\n");

    Report r = run({"--install"});
    EXPECT_EQ(lines(r["after.proc.text"]),
              concat(succeededLines("Firebird 2.5", folder25), succeededLines("Firebird 3.0", folder30)));
    EXPECT_EQ(fileText(folder30 + "firebird.conf"), kitConf);
    // The uninstall batch's removal, then the install batch's removal and installation.
    EXPECT_EQ(instsvcCalls(folder30 + "instsvc.exe"),
              (std::vector<std::string>{"remove -name Kelmora3", "install -auto -name Kelmora3 -guardian",
                                        "remove -name Kelmora3", "remove -name Kelmora3",
                                        "install -auto -name Kelmora3 -guardian"}));
    for (const char* service : kServices) EXPECT_TRUE(serviceExists(service)) << service;
    EXPECT_EQ(fileText(folder30 + "security3.fdb"), "the administrator's own\r\n");
    EXPECT_EQ(fileText(folder25 + "bin\\extra.txt"), "kept\r\n");
    // The removal batches, without a pause, in the install folders.
    for (const auto& [folder, fragment] : {std::pair{folder25, std::string("Kelmora2")}, {folder30, "Kelmora3"}}) {
        const std::string uninstall = fileText(folder + "fbUninstall_" + fragment + ".bat");
        EXPECT_NE(uninstall, "<missing>") << fragment;
        EXPECT_TRUE(startsWith(uninstall, "net stop \"FirebirdGuardian" + fragment + "\"\r\n")) << uninstall;
        EXPECT_EQ(uninstall.find("pause"), std::string::npos);
    }
}

TEST_F(InstallWindow, OnlyTheThreeZeroKitIsOfferedAndInstalled) {
    putKit(kKit30);
    Report r = run({"--install"});
    EXPECT_EQ(r["shown.cb25.visible"], "0");
    EXPECT_EQ(r["shown.cb25.checked"], "0");
    EXPECT_EQ(r["shown.cb30.visible"], "1");
    EXPECT_EQ(r["shown.cb30.checked"], "1");
    EXPECT_EQ(lines(r["after.proc.text"]), succeededLines("Firebird 3.0", installFolder(kKit30)));
    EXPECT_EQ(r["after.gauge.max"], "3");
    EXPECT_FALSE(platform::folderExists(installFolder(kKit25)));
    EXPECT_EQ(r["box.0"], "message|Az adatbázis-kezelő telepítése befejeződött.");
}

TEST_F(InstallWindow, WithoutKitsTheNoKitTextReplacesTheChoiceAndTheUninstallButtonStillWorks) {
    // Earlier installations of both bitnesses, and a folder the dialog's pattern does not match.
    for (const char* folder : {"Firebird_2_5_5_32bit", "Firebird_3_0_0_64bit", "Firebird_9"})
        platform::createFolders(kelmoraWin_ + "Firebird\\" + folder);
    Report r = run({"--uninstall"});
    EXPECT_EQ(r["shown.noKit.visible"], "1");
    EXPECT_EQ(r["shown.installButton.visible"], "0");
    EXPECT_EQ(r["shown.cb25.visible"], "0");
    EXPECT_EQ(r["shown.cb30.visible"], "0");
    EXPECT_EQ(r["shown.uninstallButton.visible"], "1");
    EXPECT_EQ(lines(r["shown.noKit.text"]),
              (std::vector<std::string>{"", "", "Nem található Firebird telepíthetőkészlet a keresett helyen.",
                                        "Az alábbi telepítőkészletek fogadhatóak el:", "", program_ + kKit25 + ".zip",
                                        program_ + kKit30 + ".zip"}));
    EXPECT_EQ(r["uninstallDialog.seen"], "1");
    // The dialog searched the Firebird folder under the window's argument.
    std::vector<std::string> folders = splitFolders(r["uninstallDialog.folders"]);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string>{kelmoraWin_ + "Firebird\\Firebird_2_5_5_32bit",
                                                 kelmoraWin_ + "Firebird\\Firebird_3_0_0_64bit"}));
}

TEST_F(InstallWindow, WithABlankArgumentTheUninstallDialogGetsNoFolder) {
    // The drive scan's target does not count for the uninstall dialog: its search folder is the current
    // drive's root then, which holds no install folder.
    Report r = run({"--uninstall"}, " ");
    EXPECT_EQ(r["uninstallDialog.seen"], "1");
    EXPECT_EQ(r["uninstallDialog.folders"], "");
    EXPECT_EQ(r["shown.target.text"], "C:\\KELMORA.WIN\\");
}

TEST_F(InstallWindow, WithBothUncheckedTheRunShowsNoLinesAndStillEndsWithItsMessage) {
    putKit(kKit25);
    putKit(kKit30);
    Report r = run({"--uncheck", "2.5", "--uncheck", "3.0", "--install", "--enter-again"});
    EXPECT_EQ(r["after.proc.visible"], "1");
    EXPECT_EQ(r["after.uninstallButton.visible"], "0");
    EXPECT_EQ(r["after.proc.text"], "");
    EXPECT_EQ(r["after.gauge.max"], "0");
    EXPECT_EQ(r["box.0"], "message|Az adatbázis-kezelő telepítése befejeződött.");
    // The progress page is for good: Enter now means "Kilépés", and the hidden install button does nothing.
    EXPECT_EQ(r["after.defaultButton"], std::to_string(IDC_btnFinish));
    EXPECT_EQ(r.count("box.1"), 0u);
    EXPECT_FALSE(platform::folderExists(kelmoraWin_ + "Firebird"));
}

TEST_F(InstallWindow, AMissingOrBlankTargetIsReportedAndTheSelectionPageStays) {
    putKit(kKit30);
    const std::string name = "A telepített Kelmora ügyviteli rendszer mappája ";
    const std::string missing = temp_ / "NINCS";
    struct Case {
        std::string target, error, targetAfter;
    } cases[] = {
        {"   ", "error|Nincs megadva a " + name + " mappája.", ""},
        {"  " + missing + " ", "error|A " + name + " mappa ( " + missing + "\\ ) nem létezik.", missing + "\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        Report r = run({"--target", c.target, "--install"});
        EXPECT_EQ(r["box.0"], c.error);
        EXPECT_EQ(r.count("box.1"), 0u);
        EXPECT_EQ(r["after.installButton.visible"], "1");
        EXPECT_EQ(r["after.proc.visible"], "0");
        EXPECT_EQ(r["after.target.text"], c.targetAfter);
    }
    EXPECT_FALSE(platform::folderExists(missing));
}

TEST_F(InstallWindow, ADamagedKitFailsItsVersionOnlyAndWritesNothingOutsideItsFolder) {
    for (const char* kind : {"traversal", "traversal-slash", "absolute", "rooted", "truncated", "crc", "bomb"}) {
        SCOPED_TRACE(kind);
        putKit(kKit25, std::string("bad\\") + kind + "\\");
        putKit(kKit30);
        Report r = run({"--install"});
        const std::string folder25 = installFolder(kKit25), folder30 = installFolder(kKit30);
        EXPECT_EQ(lines(r["after.proc.text"]), concat({" A Firebird 2.5 telepítése megkezdődött...kérem várjon",
                                                       " Hiba történt a Firebird 2.5 telepítése során."},
                                                      succeededLines("Firebird 3.0", folder30)));
        EXPECT_EQ(r["after.gauge.pos"], "6");
        EXPECT_EQ(r["box.0"], "message|Az adatbázis-kezelő telepítése befejeződött.");
        EXPECT_FALSE(platform::fileExists(folder25 + "fbInstall_" + kKit25 + ".bat"));
        EXPECT_TRUE(platform::fileExists(folder30 + "fbInstall_" + kKit30 + ".bat"));
        for (const std::string& evil :
             {kelmoraWin_ + "evil.txt", kelmoraWin_ + "Firebird\\evil.txt", std::string("C:\\fbwb-evil-absolute.txt"),
              std::string("C:\\fbwb-evil-rooted.txt")})
            EXPECT_FALSE(platform::fileExists(evil)) << evil;
        EXPECT_EQ(entries(temp_.path()), (std::set<std::string>{"KELMORA.WIN", "prog", "result.txt", "tmp"}));
        EXPECT_EQ(entries(kelmoraWin_), std::set<std::string>{"Firebird"});
        EXPECT_EQ(entries(kelmoraWin_ + "Firebird\\"), (std::set<std::string>{kKit25, kKit30}));
        EXPECT_EQ(entries(tempDir_), std::set<std::string>{});
        const auto bomb = platform::queryFile(folder25 + "bomb.bin");
        EXPECT_TRUE(!bomb || bomb->size <= 1024);
        for (const char* service : kServices) removeTestService(service);
    }
}
