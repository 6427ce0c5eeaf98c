#pragma once
// Text that goes into an HTML page: every path, message and title is text, never markup, and a
// link to a file is a file URL that any path survives.
#include <initializer_list>
#include <string>
#include <string_view>

namespace fbwb {

// The text with "&", "<", ">" and '"' written as character references, so that a browser shows it
// as it is, in element content and in a quoted attribute value alike.
std::string htmlText(std::string_view text);

// fill() for a format that is HTML: each value is put in as text (htmlText).
std::string fillHtml(std::string_view format, std::initializer_list<std::string_view> values);

// The file URL of an absolute path ("c:\a b\x.txt" -> "file:///c:/a%20b/x.txt", "\\server\share\x"
// -> "file://server/share/x"): backslashes become slashes, and every UTF-8 byte outside the
// unreserved characters, "/" and ":" is percent-encoded, whatever code page the page is written in.
std::string fileUrl(std::string_view path);

}  // namespace fbwb
