#pragma once
// Text rules about server folders and database addresses (no file-system access).
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// host/port:path as the client library expects it; a port without a host addresses 127.0.0.1,
// neither gives the bare path. All three parts are trimmed.
std::string makeDbConnectionString(std::string_view host, std::string_view port, std::string_view path);

// The first decimal digit from the last character of the marker's first occurrence (ASCII case
// ignored) on: the generation of a server folder such as ...\Firebird\Firebird_2_5. 0 when the entry
// has no marker or no digit after it, or the marker is empty.
char firstDigitAfterMarker(std::string_view entry, std::string_view marker);

// Clears result and fills it with the entries of serverList whose first digit after the marker
// (the first occurrence, ASCII case ignored) equals the first character of majorVersion.
// True when result holds an entry. An empty marker or version selects nothing.
bool getFbServersOfVersion(std::string_view marker, const std::vector<std::string>& serverList,
                           std::string_view majorVersion, std::vector<std::string>& result);

}  // namespace fbwb
