// The batch-value rule and the lines written with the values it accepts. Input: one value per line:
// database path, user name, password, server folder, temp folder, second user name, second password
// (missing ones take ordinary values). Properties:
// - the rule refuses exactly the values holding % ^ " or a control character, bytes that are not
//   UTF-8 or a letter the batch's code page lacks (a model code page here), and a password's
//   refusal never repeats it;
// - where the runs' checks let the values through, every line reads as intended under cmd's rules
//   (model in command_line_model.h) and every value reaches its program as one intact argument
//   under the C runtime's rules, and every redirection goes to the file meant.
// Preconditions, as the runs have them: a database path names a file (so it does not end in a
// backslash: the runs check it exists as a file), and the folders hold no character Windows
// forbids in a name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/helpers.h"
#include "core/text.h"
#include "fuzz/command_line_model.h"
#include "fuzz/fuzz_support.h"
#include "script/batch_lines.h"
#include "script/firebird3_command_line_generator.h"
#include "script/texts.h"
#include "tasks/db_task_lines.h"
#include "tasks/fdb_header.h"

using namespace fbwb;
using fuzz::require;
using Args = std::vector<std::string>;

namespace {

const LocalDateTime kNow{2026, 12, 11, 3, 4, 5};

// A model of the batch's code page: ASCII, and of the rest Latin-1 and Latin Extended-A letters
// whose code point is not a multiple of three (so both kinds are met often).
bool modelHolds(char32_t c) { return c < 0x80 || (c >= 0xC0 && c <= 0x17F && c % 3 != 0); }
const HoldsCharacter kHolds = modelHolds;

// The rule, stated apart from its code.
bool writable(std::string_view value) {
    for (const char c : value) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '%' || c == '^' || c == '"') return false;
    }
    for (size_t at = 0; at < value.size();) {
        char32_t codePoint = 0;
        const size_t length = decodeUtf8(value, at, codePoint);
        if (length == 0 || !modelHolds(codePoint)) return false;
        at += length;
    }
    return true;
}

bool hasControl(std::string_view value) {
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') return true;
    }
    return false;
}

// A folder that can exist: no character that Windows forbids in a name.
bool possibleFolder(std::string_view folder) {
    return !hasControl(folder) && folder.find_first_of("\"<>|?*") == std::string_view::npos;
}

void checkRule(std::string_view value) {
    const auto refused = refuseBatchValue(value, "mező", kHolds);
    const auto secret = refuseBatchSecret(value, "mező", kHolds);
    require(refused.has_value() == !writable(value), "the rule refuses exactly what the model refuses",
            std::string(value));
    require(secret.has_value() == refused.has_value(), "a password is refused like any value", std::string(value));
    if (!secret) return;
    // The password's message is the same for every refused password of its kind.
    const bool breaksLine = value.find_first_of("%^\"") != std::string_view::npos;
    const auto sample = refuseBatchSecret(hasControl(value) ? "\n" : breaksLine ? "%" : "\xC3\x80", "mező", kHolds);
    require(secret == sample, "a refused password is not repeated", *secret);
    if (!hasControl(value)) require(refused->find(value) != std::string::npos, "a refused value is named", *refused);
}

// A line as cmd reads it; fails the run when cmd would not run it as written.
model::CmdLine readLine(const std::string& line) {
    model::CmdLine read = model::readCmdLine(line);
    require(read.fault.empty(), "cmd runs the line as written", read.fault + ": " + line);
    return read;
}

void expectProgram(const std::string& line, const std::string& commandLine, const Args& expected) {
    const Args argv = model::runtimeArgv(commandLine);
    require(argv == expected, "every value reaches the program as one intact argument",
            line + "\n  got:      " + fuzz::joined(argv) + "\n  expected: " + fuzz::joined(expected));
}

void expectCall(const std::string& line, const Args& expected, const std::vector<model::Redirection>& redirections) {
    const model::CmdLine read = readLine(line);
    const auto commandLine = model::callCommandLine(read.command);
    require(commandLine.has_value(), "a tool is started with call", line);
    expectProgram(line, *commandLine, expected);
    require(read.redirections == redirections, "the output goes where it is meant to", line);
}

void expectProgramLine(const std::string& line, const Args& expected,
                       const std::vector<model::Redirection>& redirections = {}) {
    const model::CmdLine read = readLine(line);
    expectProgram(line, read.command, expected);
    require(read.redirections == redirections, "the output goes where it is meant to", line);
}

struct Values {
    std::string database, user, password, serverFolder, tempFolder, user2, password2;
    std::string gfix() const { return folderPrefix(serverFolder) + "gfix.exe"; }
    std::string gbak() const { return folderPrefix(serverFolder) + "gbak.exe"; }
    std::string gstat() const { return folderPrefix(serverFolder) + "gstat.exe"; }
};

Args gfixArgs(const Values& v, const Args& tail) {
    Args args{v.gfix(), "-USER", v.user, "-PASSWORD", v.password, v.database};
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
}

void checkMaintenance(const Values& v, bool withLog) {
    MaintenanceLineInput input;
    input.gfix = v.gfix();
    input.gbak = v.gbak();
    input.database = v.database;
    input.userName = v.user;
    input.password = v.password;
    input.logFile = withLog ? maintenanceLogFileName(v.tempFolder, 3) : std::string();
    input.backupFile = maintenanceBackupFileName(v.database, kNow);
    input.restoredFile = maintenanceRestoredFileName(v.database, kNow);
    input.index = 3;
    const std::string temp = maintenanceBackupTempFileName(input.backupFile);

    using R = std::vector<model::Redirection>;
    const R toLog = withLog ? R{{1, ">>", input.logFile}, {2, ">", "&1"}} : R{};
    R toLogNoInput = toLog;
    toLogNoInput.push_back({0, "<", "nul"});
    const std::vector<std::pair<Args, R>> calls = {
        {gfixArgs(v, {"-v", "-full", "-i", "-n"}), toLog},
        {gfixArgs(v, {"-sweep"}), toLog},
        {gfixArgs(v, {"-mend"}), toLog},
        {{v.gbak(), "-v", "-t", "-USER", v.user, "-PASSWORD", v.password, v.database, temp}, toLogNoInput},
        {{v.gbak(), "-c", "-v", "-USER", v.user, "-PASSWORD", v.password, input.backupFile, input.restoredFile},
         toLogNoInput},
    };
    const std::vector<std::string> files = {v.database, input.backupFile, temp, input.restoredFile};

    size_t next = 0;
    for (const std::string& line : maintenanceLines({true, true, true, true}, input)) {
        const model::CmdLine read = readLine(line);
        if (const auto commandLine = model::callCommandLine(read.command)) {
            require(next < calls.size(), "no more tool calls than steps", line);
            expectCall(line, calls[next].first, calls[next].second);
            ++next;
            continue;
        }
        for (const model::Redirection& r : read.redirections)
            require(std::find(toLog.begin(), toLog.end(), r) != toLog.end(), "markers and messages go to the log",
                    line);
        // The file commands name the batch's own files, each as one word: `if exist "file" command`,
        // `del "file"`, `move /y "file" "file"`.
        const auto isFile = [&](const std::string& word) {
            return std::find(files.begin(), files.end(), word) != files.end();
        };
        Args words = model::cmdWords(read.command);
        if (!words.empty() && words[0] == "if" && words.size() > 1 && words[1] == "exist") {
            require(words.size() > 3 && isFile(words[2]), "if exist names one of the batch's files", line);
            words.erase(words.begin(), words.begin() + 3);
        }
        if (!words.empty() && words[0] == "del")
            require(words.size() == 2 && isFile(words[1]), "del names one of the batch's files", line);
        if (!words.empty() && words[0] == "move")
            require(words.size() == 4 && words[1] == "/y" && isFile(words[2]) && isFile(words[3]),
                    "move names two of the batch's files", line);
    }
    require(next == calls.size(), "every step calls its tool");
}

void checkDatabaseTaskLines(const Values& v) {
    // The settings and maintenance runs write lines only for values their check lets through.
    if (refuseDatabaseTaskValues({v.serverFolder, v.tempFolder, v.database, v.user, v.password}, kHolds)) return;
    checkMaintenance(v, true);
    checkMaintenance(v, false);

    expectCall(gfixWriteAsyncLine(v.gfix(), v.database, v.user, v.password),
               {v.gfix(), "-WRITE", "ASYNC", v.database, "-USER", v.user, "-PASSWORD", v.password}, {});
    expectCall(gfixBuffersLine(v.gfix(), 6144, v.database, v.user, v.password),
               {v.gfix(), "-BUFFERS", "6144", v.database, "-USER", v.user, "-PASSWORD", v.password}, {});
    const std::string output = folderPrefix(v.tempFolder) + "temp_3.txt";
    expectCall(gstatHeaderToFileLine(v.gstat(), v.database, output), {v.gstat(), "-h", v.database}, {{1, ">", output}});
}

void checkHeaderInspection(const Values& v) {
    const std::string result = gstatResultFileName(folderPrefix(v.tempFolder), "7");
    if (!writable(v.gstat()) || !writable(v.database) || !writable(result)) return;
    expectProgramLine(gstatHeaderBatchLine(v.gstat(), v.database, result), {v.gstat(), "-h", v.database},
                      {{1, ">>", result}});
}

void checkConversion(const Values& v) {
    TFirebird3CommandLineGenerator generator;
    const std::string oldGbak = folderPrefix(v.tempFolder) + "gbak.exe";
    const auto refused = generator.addConvertFdbCmdLinesFor(oldGbak, v.gbak(), v.database, v.user, v.password, v.user2,
                                                            v.password2, kNow, kHolds);
    const bool allWritable = writable(oldGbak) && writable(v.gbak()) && writable(v.database) && writable(v.user) &&
                             writable(v.password) && writable(v.user2) && writable(v.password2);
    require(refused.has_value() == !allWritable, "the conversion refuses exactly the values the rule refuses");
    if (refused) {
        require(generator.cmdLines().empty(), "a refused conversion writes no line");
        return;
    }
    const auto& lines = generator.cmdLines();
    require(lines.size() == 7, "the conversion writes its seven lines");
    const std::string backup = replaceExtension(v.database, "_" + formatStamp(kNow) + ".fbk");
    const std::string target = replaceExtension(v.database, "_FB3.fdb");
    expectCall(lines[0], {oldGbak, "-v", "-t", "-USER", v.user, "-PASSWORD", v.password, v.database, backup}, {});
    expectCall(lines[2], {v.gbak(), "-c", "-v", "-USER", v.user2, "-PASSWORD", v.password2, backup, target}, {});
    require(model::cmdWords(readLine(lines[3]).command) == Args{"del", backup}, "the backup is deleted", lines[3]);
}

void checkServiceLines(const Values& v) {
    // The install folder and the instance name, where the rule lets them through.
    const std::string fragment = trim(v.user2);
    if (!writable(v.serverFolder) || !writable(fragment) || fragment.find('\\') != std::string::npos) return;
    TFirebird3CommandLineGenerator generator;
    generator.setFirebirdBinFolder(v.serverFolder);
    generator.setServiceNameFragment(v.user2);
    generator.addUninstallGuardianCmdLines();
    generator.addUninstallServerCmdLines();
    generator.addInstallServerCmdLines(true, true);
    const std::string instsvc = generator.getInstSvcFn();
    const std::string guardian = "FirebirdGuardian" + fragment;
    const std::string server = "FirebirdServer" + fragment;
    const std::vector<Args> expected = {
        {"net", "stop", guardian},  {"sc", "delete", guardian},
        {"net", "stop", server},    {instsvc, "remove", "-name", fragment},
        {"sc", "delete", server},   {instsvc, "install", "-auto", "-name", fragment, "-guardian"},
        {"net", "start", server},   {"sc", "config", guardian, "start=", "auto"},
        {"net", "start", guardian},
    };
    const auto& lines = generator.cmdLines();
    require(lines.size() == expected.size(), "the service lines are all there");
    for (size_t i = 0; i < lines.size(); ++i) expectProgramLine(lines[i], expected[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> all = fuzz::fields(data, size);
    for (const std::string& value : all) checkRule(value);
    checkRule(std::string(reinterpret_cast<const char*>(data), size));

    Values v{fuzz::field(all, 0, R"(C:\KELMORA.WIN\2026\adat\kelmora.fdb)"),
             fuzz::field(all, 1, "SYSDBA"),
             fuzz::field(all, 2, "masterkey"),
             fuzz::field(all, 3, R"(C:\KELMORA.WIN\Firebird\Firebird_3_0)"),
             fuzz::field(all, 4, R"(C:\Temp\)"),
             fuzz::field(all, 5, "SYSDBA"),
             fuzz::field(all, 6, "masterkey")};
    if (endsWith(v.database, "\\") || !possibleFolder(v.serverFolder) || !possibleFolder(v.tempFolder)) return 0;

    checkDatabaseTaskLines(v);
    checkHeaderInspection(v);
    checkConversion(v);
    checkServiceLines(v);
    return 0;
}
