#pragma once
// The conversion's texts, byte for byte.
#include <string_view>

namespace fbwb::texts_convert {

// The server folder boxes: a folder's generation is the first digit after this marker (upper case).
inline constexpr std::string_view kServerMarker = "\\FIREBIRD\\";

// The batch files: the dialog's default for batch mode (after the temp folder) and the now-mode one.
inline constexpr std::string_view kDefaultBatchName = "ConvertToFb3.bat";
inline constexpr std::string_view kNowModeBatchName = "fdbConversions.bat";
inline constexpr std::string_view kPauseLine = "pause";
// Before the refusals of the values that a batch line cannot hold, one per line.
inline constexpr std::string_view kDatabasesLeftOut = "Az alábbi adatbázisok konvertálása nem került a parancsfájlba:";

// The server generations whose first folder and port the toolbar action looks up.
inline constexpr std::string_view kOldMajorVersion = "2";
inline constexpr std::string_view kNewMajorVersion = "3";

// The two pages' tabs.
inline constexpr std::string_view kFileListPage = "   Konverálandó fájlok kiválasztása   ";
inline constexpr std::string_view kServersPage = "   Adatbázis-kezelők beállítása   ";

// The version view's column headers.
inline constexpr std::string_view kFileColumn = "Adatbázis-fájl";
inline constexpr std::string_view kVersionColumn = "Firebird verzió";

// The connection tries: success, and the failure followed by the client's text (two blanks after "hiba").
inline constexpr std::string_view kConnectionOk = "A kapcsolat felépítése sikerült.";
inline constexpr std::string_view kConnectionFailed = "A kapcsolat felépítése nem sikerült\r\nA hiba  leírása:\r\n\r\n";

}  // namespace fbwb::texts_convert
