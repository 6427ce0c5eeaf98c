#pragma once
// Texts of the maintenance and settings runs, byte for byte as the administrators see them;
// formats are filled with fill().
#include <string_view>

namespace fbwb::texts_runs {

inline constexpr std::string_view kGfixTool = "gfix.exe";
inline constexpr std::string_view kGbakTool = "gbak.exe";
inline constexpr std::string_view kGstatTool = "gstat.exe";

// Log lines, each followed by the database or tool path.
inline constexpr std::string_view kMaintenanceStart = "DB karbantartás: ";
inline constexpr std::string_view kSettingsStart = "GFIX műveletek: ";
inline constexpr std::string_view kCheckingDatabase = "Adatbázis-fájl ellenőrzése: ";
inline constexpr std::string_view kDatabaseMissing = "Az alábbi Firebird adatbázis-fájl nem létezik: ";
inline constexpr std::string_view kGfixMissing = "A GFIX.EXE nem található: ";
inline constexpr std::string_view kGbakMissing = "A GBAK.EXE nem található: ";
inline constexpr std::string_view kGstatMissing = "A GSTAT.EXE nem található: ";
// The settings step's output file.
inline constexpr std::string_view kHeaderOutputMissing =
    "Az adatbázisból lekérdezett adatokat tároló ideiglenes fájl nem található. A fájl neve: %s";
inline constexpr std::string_view kHeaderOutputUnreadable =
    "Nem feldolgozni az adatbzistól lekérdezett adatokat. A fájl neve: %s   A hiba leírása: %s";

// The end of every run.
inline constexpr std::string_view kRunFinished = "A művelet sikeresen befejeződött.";

// Maintenance: the log file per database, and gfix's three switch sets (user, password, database).
inline constexpr std::string_view kMaintenanceLogPrefix = "fdbMaintain_";
inline constexpr std::string_view kMaintenanceLogExtension = ".txt";
inline constexpr std::string_view kGfixValidateSwitches = "-USER %s -PASSWORD %s \"%s\" -v -full -i -n";
inline constexpr std::string_view kGfixSweepSwitches = "-USER %s -PASSWORD %s \"%s\" -sweep";
// "-mend", not "-m": Firebird 3's gfix refuses the one-letter form, 2.5's read it as -mend.
inline constexpr std::string_view kGfixMendSwitches = "-USER %s -PASSWORD %s \"%s\" -mend";

// Settings: gfix's switches (database, user, password; buffers first), gstat's header into a file.
inline constexpr std::string_view kGfixWriteAsyncSwitches = "-WRITE ASYNC \"%s\" -USER %s -PASSWORD %s";
inline constexpr std::string_view kGfixBuffersSwitches = "-BUFFERS %d \"%s\" -USER %s -PASSWORD %s";
inline constexpr std::string_view kGstatHeaderSwitches = " -h \"%s\" > \"%s\"";
inline constexpr std::string_view kPageBuffersLabel = "Page buffers";
inline constexpr std::string_view kAttributesLabel = "Attributes";

}  // namespace fbwb::texts_runs
