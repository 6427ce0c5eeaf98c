#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/fs.h"
#include "script/batch_files_win.h"
#include "script/firebird3_command_line_generator.h"

namespace fbwb {

namespace {

// gbak.exe of a server main folder, or empty when it is not there.
std::string locatedGbak(std::string_view serverFolder) {
    const std::string gbak = trim(findGbakFn(serverFolder));
    return !gbak.empty() && platform::fileExists(gbak) ? gbak : std::string();
}

}  // namespace

std::optional<std::string> TFirebird3CommandLineGenerator::addConvertFdbCmdLines(
    std::string_view oldFBMainFolder, std::string_view newFBMainFolder, std::string_view fdbFileToConvert,
    std::string_view oldUserName, std::string_view oldPassword, std::string_view newUsername,
    std::string_view newPassword) {
    return addConvertFdbCmdLines(oldFBMainFolder, newFBMainFolder, fdbFileToConvert, oldUserName, oldPassword,
                                 newUsername, newPassword, localNow());
}

std::optional<std::string> TFirebird3CommandLineGenerator::addConvertFdbCmdLines(
    std::string_view oldFBMainFolder, std::string_view newFBMainFolder, std::string_view fdbFileToConvert,
    std::string_view oldUserName, std::string_view oldPassword, std::string_view newUsername,
    std::string_view newPassword, const LocalDateTime& now) {
    const std::string oldGbak = locatedGbak(oldFBMainFolder);
    if (oldGbak.empty()) return std::nullopt;
    const std::string newGbak = locatedGbak(newFBMainFolder);
    if (newGbak.empty()) return std::nullopt;
    return addConvertFdbCmdLinesFor(oldGbak, newGbak, fdbFileToConvert, oldUserName, oldPassword, newUsername,
                                    newPassword, now, batchFileCharacters());
}

}  // namespace fbwb
