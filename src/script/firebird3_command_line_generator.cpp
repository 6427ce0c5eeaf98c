#include "script/firebird3_command_line_generator.h"

#include "core/helpers.h"
#include "core/text.h"
#include "script/batch_lines.h"
#include "script/texts.h"

namespace fbwb {

using namespace texts_script;

void TFirebird3CommandLineGenerator::addUninstallGuardianCmdLines() {
    const std::string guardian = getGuardianServiceFullName();
    fCmdLines.push_back(fill(kNetStopLine, {guardian}));
    fCmdLines.push_back(fill(kScDeleteLine, {guardian}));
}

void TFirebird3CommandLineGenerator::addUninstallServerCmdLines() {
    const std::string server = getServerServiceFullName();
    fCmdLines.push_back(fill(kNetStopLine, {server}));
    fCmdLines.push_back(fill(kInstSvcRemoveLine, {getInstSvcFn(), quotedArgumentText(trim(fServiceNameFragment))}));
    fCmdLines.push_back(fill(kScDeleteLine, {server}));
}

std::string TFirebird3CommandLineGenerator::getGuardianServiceFullName() const {
    return kGuardianServicePrefix + trim(fServiceNameFragment);
}

std::string TFirebird3CommandLineGenerator::getServerServiceFullName() const {
    return kServerServicePrefix + trim(fServiceNameFragment);
}

std::string TFirebird3CommandLineGenerator::getInstSvcFn() const {
    const std::string folder = trim(fFirebirdBinFolder);
    return (folder.empty() ? folder : withTrailingBackslash(folder)) + kInstSvcFileName;
}

void TFirebird3CommandLineGenerator::addInstallServerCmdLines(bool useGuardian, bool autoStartService) {
    std::string switches = fill(kInstSvcInstallSwitches, {quotedArgumentText(trim(fServiceNameFragment))});
    if (useGuardian) switches += kInstSvcGuardianSwitch;
    fCmdLines.push_back(fill(kInstSvcLine, {getInstSvcFn(), switches}));
    if (!autoStartService) return;
    addStartInstalledServerCmdLines();
    if (useGuardian) addStartInstalledGuardianCmdLines();
}

void TFirebird3CommandLineGenerator::addStartInstalledGuardianCmdLines() {
    addStartServiceCmdLines(getGuardianServiceFullName(), true);
}

void TFirebird3CommandLineGenerator::addStartInstalledServerCmdLines() {
    addStartServiceCmdLines(getServerServiceFullName(), false);
}

void TFirebird3CommandLineGenerator::addStartServiceCmdLines(const std::string& serviceName, bool setAutoStart) {
    if (setAutoStart) fCmdLines.push_back(fill(kScConfigAutoStartLine, {serviceName}));
    fCmdLines.push_back(fill(kNetStartLine, {serviceName}));
}

std::optional<std::string> TFirebird3CommandLineGenerator::addConvertFdbCmdLinesFor(
    std::string_view oldGbak, std::string_view newGbak, std::string_view fdbFileToConvert, std::string_view oldUserName,
    std::string_view oldPassword, std::string_view newUsername, std::string_view newPassword, const LocalDateTime& now,
    const HoldsCharacter& holds) {
    const std::string oldTool = trim(oldGbak);
    const std::string newTool = trim(newGbak);
    if (oldTool.empty() || newTool.empty()) return std::nullopt;

    // The backup and target names derive from the database path, so checking it covers them.
    for (const auto& refused :
         {refuseBatchValue(oldTool, kFieldOldServerFolder, holds),
          refuseBatchValue(newTool, kFieldNewServerFolder, holds),
          refuseBatchValue(fdbFileToConvert, kFieldDatabaseFile, holds),
          refuseBatchValue(oldUserName, kFieldUserName, holds), refuseBatchSecret(oldPassword, kFieldPassword, holds),
          refuseBatchValue(newUsername, kFieldUserName, holds),
          refuseBatchSecret(newPassword, kFieldPassword, holds)}) {
        if (refused) return refused;
    }

    const std::string target = replaceExtension(fdbFileToConvert, kConvertedFileTail);
    const std::string backup = replaceExtension(fdbFileToConvert, "_" + formatStamp(now) + kBackupFileExtension);
    const std::string backupSwitches =
        fill(kBackupSwitches, {batchCredential(oldUserName), batchCredential(oldPassword),
                               quotedArgumentText(fdbFileToConvert), quotedArgumentText(backup)});
    const std::string restoreSwitches =
        fill(kRestoreSwitches, {batchCredential(newUsername), batchCredential(newPassword), quotedArgumentText(backup),
                                quotedArgumentText(target)});

    fCmdLines.push_back(fill(kBackupCallLine, {oldTool, backupSwitches}));
    fCmdLines.emplace_back();
    fCmdLines.push_back(callLine(newTool, restoreSwitches));
    fCmdLines.push_back(deleteLine(backup));
    fCmdLines.insert(fCmdLines.end(), 3, std::string());
    return std::nullopt;
}

}  // namespace fbwb
