#pragma once
// The common settings, as read from the main window's fields when an action needs them.
#include <string>
#include <vector>

namespace fbwb {

inline constexpr const char* kDefaultDataFolder = "c:\\KELMORA.WIN\\###YEAR###\\adat";
inline constexpr const char* kDefaultTempFolder = "c:\\KELMORA.WIN";
inline constexpr const char* kDefaultUserName = "SYSDBA";
inline constexpr const char* kDefaultPassword = "qwdbadmin";

struct CommonSettings {
    std::string dataFolder = kDefaultDataFolder;
    std::string tempFolder = kDefaultTempFolder;
    std::string serverFolder;
    std::vector<std::string> serverFolders;
    std::string userName = kDefaultUserName;
    std::string password = kDefaultPassword;
};

}  // namespace fbwb
