#pragma once
// What a database list dialog hands to its run: the mode, the batch file for batch mode and the
// list lines exactly as the administrator left them (blank lines included: they count in the indices).
#include <string>
#include <vector>

namespace fbwb {

enum class RunMode { Now, Batch };

struct FdbListChoice {
    RunMode mode = RunMode::Now;
    std::string batchFile;           // edDbModBatch as typed (the run trims it)
    std::vector<std::string> lines;  // mFdbFiles, one line per entry
};

// The maintenance steps. The dialog keeps: restore implies backup, backup deletion implies restore.
struct MaintenanceSteps {
    bool maintain = true;
    bool backup = false;
    bool restore = false;
    bool deleteBackup = false;
};

// The settings options: whether the page buffers are set, and their size in per cent of the file.
struct SettingsOptions {
    bool cache = true;
    int percent = 150;
};

}  // namespace fbwb
