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

struct FileOpenRequest {
    std::string_view title;
    // description|pattern pairs separated by '|' ("Adatbázis (*.fdb)|*.fdb|Minden fájl|*.*"); empty:
    // every file, without a type list.
    std::string_view filter;
    // The name shown at first; one with a folder also chooses where the dialog starts.
    std::string_view fileName;
    // Where the dialog starts when the name holds no folder; empty: the system's choice.
    std::string_view initialFolder;
    // Added (without its dot) to a typed name that has no extension; empty: nothing is added.
    std::string_view defaultExtension;
};

// File-open dialog for an existing file. Empty when the user cancels.
std::optional<std::string> selectFileToOpen(const FileOpenRequest& request);

}  // namespace fbwb::platform
