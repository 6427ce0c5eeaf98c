#pragma once
// The shared texts of the reports and runs, byte for byte.
#include <string_view>

namespace fbwb::texts_core {

// The plain message that ends every task run.
inline constexpr std::string_view kRunFinished = "A művelet sikeresen befejeződött.";

// The pages' one head line: the encoding they are written in (kReportCodePage), by a name that
// browsers know ("Windows1250" is none: they would guess, and show "õ" for "ő").
inline constexpr std::string_view kHtmlMetaCharset = "<meta charset=\"windows-1250\">";

// Message page: its frame around the message lines (the head holds kHtmlMetaCharset), and the list
// item that the lines are made of.
inline constexpr std::string_view kMessagePageStart = "<html><head>";
inline constexpr std::string_view kMessagePageBody = "</head><body>\r\n";
inline constexpr std::string_view kMessagePageEnd = "</body></html>";
inline constexpr std::string_view kListItemStart = "<li>";
inline constexpr std::string_view kListItemEnd = "<br>\r\n";

// The shell verb that reports are opened with.
inline constexpr std::string_view kOpenVerb = "open";

}  // namespace fbwb::texts_core
