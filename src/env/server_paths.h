#pragma once
// Text rules about server folders and database addresses (no file-system access).
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// host/port:path as the client library expects it; a port without a host addresses 127.0.0.1,
// neither gives the bare path. All three parts are trimmed.
std::string makeDbConnectionString(std::string_view host, std::string_view port, std::string_view path);

// Clears result and fills it with the entries of serverList whose first digit after the marker
// (the first occurrence, ASCII case ignored) equals the first character of majorVersion.
// True when result holds an entry. An empty marker or version selects nothing.
bool getFbServersOfVersion(std::string_view marker, const std::vector<std::string>& serverList,
                           std::string_view majorVersion, std::vector<std::string>& result);

}  // namespace fbwb
