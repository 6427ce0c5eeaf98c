#pragma once
// The shell's folder-selection and file-open dialogs, owned by the application's window.
#include <optional>
#include <string>
#include <string_view>

namespace fbwb::platform {

// New-style folder dialog without a "new folder" button, file-system folders only. Its root is
// the folder the start text names, or the whole shell namespace when the shell cannot resolve it.
// Empty when the user cancels.
std::optional<std::string> selectFolder(std::string_view title, std::string_view rootFolder);

// File-open dialog for an existing file. The filter holds description|pattern pairs separated
// by '|' ("Adatbázis (*.fdb)|*.fdb|Minden fájl|*.*"). Empty when the user cancels.
std::optional<std::string> selectFileToOpen(std::string_view title, std::string_view filter,
                                            std::string_view initialFile);

}  // namespace fbwb::platform
