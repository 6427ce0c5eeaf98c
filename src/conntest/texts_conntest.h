#pragma once
// The connection test's texts, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_conntest {

// The client layer. Library path, system text; library path, entry point, system text.
inline constexpr std::string_view kClientLibraryNotLoaded = "A Firebird kliens könyvtára (%s) nem tölthető be: %s";
inline constexpr std::string_view kClientEntryMissing =
    "A Firebird kliens könyvtárából (%s) hiányzik a(z) %s belépési pont: %s";

}  // namespace fbwb::texts_conntest
