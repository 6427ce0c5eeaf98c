#pragma once
// The message page: a bare HTML page whose body a run composes from list items.
#include <string>
#include <string_view>

namespace fbwb {

// "<li>" + text + "<br>" + CR LF; the line break is part of the item. The text is HTML: its
// caller puts paths and messages into it with core/html_text.h.
std::string htmlListItem(std::string_view text);

// The page around the message: "<html><head>" + the charset line + "</head><body>", the message's
// lines, an empty line, "</body></html>", each followed by CR LF except the last.
std::string messagePageText(std::string_view message);

}  // namespace fbwb
