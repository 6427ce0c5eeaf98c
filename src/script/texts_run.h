#pragma once
// Texts of saving and running batch files, byte for byte as the administrators see them.

namespace fbwb::texts_run {

inline constexpr const char* kRunCommandHeader = "Az alábbi parancs futtatása:";
inline constexpr const char* kBatchAnnouncement = "A műveleteket az alábbi parancsfájl tartalmazza:\r\n";
inline constexpr const char* kOverwriteQuestion = "Biztosan felülírja a %s fájlt?";
// File name, then the system's error text (three blanks before "A hiba").
inline constexpr const char* kBatchSaveFailed =
    "Hiba történt a fájl mentése során. A fájl neve: %s   A hiba leírása: %s";
// A batch file the shell could not start: the file, then the system's error text.
inline constexpr const char* kBatchStartFailed = "A(z) %s parancsfájl nem indítható el. A hiba leírása: %s";
// Two blanks after the dash.
inline constexpr const char* kRunProgramSyncWaitFailed = "RunProgramSync -  Error waiting process to terminate.";

// The shell verb batch files are opened with.
inline constexpr const char* kShellVerbOpen = "Open";

}  // namespace fbwb::texts_run
