#pragma once
// The Firebird environment's texts, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_env {

// The service restart's log lines; the first three are followed by the service's name.
inline constexpr std::string_view kQueryLine = "Szolgáltatás lekérdezése: ";
inline constexpr std::string_view kStopLine = "Szolgáltatás leállításának kezdeményezése: ";
inline constexpr std::string_view kStartLine = "Szolgáltatás indításának kezdeményezése: ";
inline constexpr std::string_view kDoneLine = "A művelet befejeződött.";
inline constexpr std::string_view kNotInstalledLine = "A szolgáltatás nincs telepítve.";
// Service name, error text; four blanks before "A hiba".
inline constexpr std::string_view kRestartFailed =
    "Hiba történt a szolgáltatás újraindítása közben. A szolgáltatás neve: %s    A hiba leírása: %s";

}  // namespace fbwb::texts_env
