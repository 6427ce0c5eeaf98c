#pragma once
// The main window's rules that need no window: start-up paths, the guards and the toolbar's
// dispatch table. The guards ask their question through the prompter in force.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common_settings.h"

namespace fbwb {

// The server search root: the data folder (trimmed, one trailing backslash) cut right after the
// first case-sensitive "\KELMORA.WIN\", or the whole path when it has none.
std::string serverSearchRoot(std::string_view dataFolder);

// The data folder above its first digits-only level, upper case, ending with a backslash.
std::string getInstallRoot(std::string_view dataFolder);

// The question of the folder guards for a missing folder.
std::string missingFolderMessage(std::string_view label, std::string_view folder);

using FolderProbe = std::function<bool(const std::string& folder)>;

// Each writes the normalised value back into the settings and returns whether the action goes on.
bool checkServerFolder(CommonSettings& settings, const FolderProbe& folderExists);
bool checkDataFolder(CommonSettings& settings, const FolderProbe& folderExists);
bool checkTempFolder(CommonSettings& settings, const FolderProbe& folderExists);
bool checkCredentials(CommonSettings& settings);

enum class ToolAction { Install, Convert, ServerSettings, DatabaseSettings, Maintenance, Web };
enum class Guard { ServerFolder, DataFolder, Credentials, TempFolder };

// The toolbar, left to right.
inline constexpr ToolAction kToolbarOrder[] = {ToolAction::Install,          ToolAction::Convert,
                                               ToolAction::ServerSettings,   ToolAction::DatabaseSettings,
                                               ToolAction::Maintenance,      ToolAction::Web};

const std::vector<Guard>& guardsOf(ToolAction action);

// Runs the action's guards in order and stops at the first that returns false.
bool runGuards(ToolAction action, CommonSettings& settings, const FolderProbe& folderExists);

// The maintenance dialog's batch-file field before the guards: a blank field gets the temp
// folder (trimmed, trailing backslash) + "dbMaintain.bat"; a filled one is kept.
std::string maintenanceBatchFieldBeforeGuards(std::string_view field, std::string_view tempFolder);

}  // namespace fbwb
