#include "app/main_rules.h"

#include "app/texts.h"
#include "core/text.h"
#include "platform/prompter.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

std::string serverSearchRoot(std::string_view dataFolder) {
    std::string path = withTrailingBackslash(trim(dataFolder));
    constexpr std::string_view marker = "\\KELMORA.WIN\\";
    const size_t found = path.find(marker);
    if (found != std::string::npos) path.resize(found + marker.size());
    return path;
}

std::string getInstallRoot(std::string_view dataFolder) {
    const std::string folder = trim(dataFolder);
    std::string result;
    if (folder.empty()) return result;
    size_t start = 0;
    for (;;) {
        const size_t end = folder.find('\\', start);
        const std::string piece =
            upperAscii(trim(std::string_view(folder).substr(start, end == std::string::npos ? end : end - start)));
        if (piece.empty()) {
            result += '\\';
        } else if (piece.find_first_not_of("0123456789") == std::string::npos) {
            break;
        } else {
            result += piece;
            result += '\\';
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

std::string missingFolderMessage(std::string_view label, std::string_view folder) {
    std::string message(texts_app::kMissingFolderStart);
    message += label;
    message += folder;
    message += texts_app::kMissingFolderEnd;
    return message;
}

namespace {

bool folderGuard(std::string& field, std::string value, std::string_view label, const FolderProbe& folderExists) {
    field = std::move(value);
    if (folderExists(field)) return true;
    return platform::prompter().askYesNo(missingFolderMessage(label, field), platform::BoxKind::Error);
}

}  // namespace

bool checkServerFolder(CommonSettings& settings, const FolderProbe& folderExists) {
    return folderGuard(settings.serverFolder, trim(settings.serverFolder), texts_app::kServerFolderLabel,
                       folderExists);
}

bool checkDataFolder(CommonSettings& settings, const FolderProbe& folderExists) {
    return folderGuard(settings.dataFolder, trim(settings.dataFolder), texts_app::kDataFolderLabel, folderExists);
}

bool checkTempFolder(CommonSettings& settings, const FolderProbe& folderExists) {
    return folderGuard(settings.tempFolder, withTrailingBackslash(trim(settings.tempFolder)),
                       texts_app::kTempFolderLabel, folderExists);
}

bool checkCredentials(CommonSettings& settings) {
    settings.userName = trim(settings.userName);
    settings.password = trim(settings.password);
    return true;
}

const std::vector<Guard>& guardsOf(ToolAction action) {
    static const std::vector<Guard> install{Guard::TempFolder};
    static const std::vector<Guard> database{Guard::ServerFolder, Guard::DataFolder, Guard::Credentials,
                                             Guard::TempFolder};
    static const std::vector<Guard> server{Guard::ServerFolder, Guard::Credentials, Guard::TempFolder};
    static const std::vector<Guard> none;
    switch (action) {
        case ToolAction::Install:
            return install;
        case ToolAction::Convert:
        case ToolAction::DatabaseSettings:
        case ToolAction::Maintenance:
            return database;
        case ToolAction::ServerSettings:
            return server;
        case ToolAction::Web:
            break;
    }
    return none;
}

bool runGuards(ToolAction action, CommonSettings& settings, const FolderProbe& folderExists) {
    for (Guard guard : guardsOf(action)) {
        bool goOn = true;
        switch (guard) {
            case Guard::ServerFolder:
                goOn = checkServerFolder(settings, folderExists);
                break;
            case Guard::DataFolder:
                goOn = checkDataFolder(settings, folderExists);
                break;
            case Guard::Credentials:
                goOn = checkCredentials(settings);
                break;
            case Guard::TempFolder:
                goOn = checkTempFolder(settings, folderExists);
                break;
        }
        if (!goOn) return false;
    }
    return true;
}

std::string maintenanceBatchFieldBeforeGuards(std::string_view field, std::string_view tempFolder) {
    if (!trim(field).empty()) return std::string(field);
    return withTrailingBackslash(trim(tempFolder)).append(texts_tasks::kMaintenanceBatchName);
}

}  // namespace fbwb
