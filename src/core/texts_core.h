#pragma once
// The shared texts of the reports and runs, byte for byte.
#include <string_view>

namespace fbwb::texts_core {

// The plain message that ends every task run.
inline constexpr std::string_view kRunFinished = "A művelet sikeresen befejeződött.";

// The report page's one head line: the encoding the page is written in.
inline constexpr std::string_view kHtmlMetaCharset = "<meta charset=\"Windows1250\">";

// Message page: its frame around the message lines, and the list item that the lines are made of.
inline constexpr std::string_view kMessagePageStart = "<html><body>\r\n";
inline constexpr std::string_view kMessagePageEnd = "</body></html>";
inline constexpr std::string_view kListItemStart = "<li>";
inline constexpr std::string_view kListItemEnd = "<br>\r\n";

// The shell verb that reports are opened with.
inline constexpr std::string_view kOpenVerb = "open";

}  // namespace fbwb::texts_core
