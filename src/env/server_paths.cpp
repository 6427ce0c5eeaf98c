#include "env/server_paths.h"

#include "core/text.h"

namespace fbwb {

std::string makeDbConnectionString(std::string_view host, std::string_view port, std::string_view path) {
    std::string address = trim(host);
    const std::string portText = trim(port);
    if (!portText.empty()) {
        if (address.empty()) address = "127.0.0.1";
        address += "/" + portText;
    }
    return address.empty() ? trim(path) : address + ":" + trim(path);
}

char firstDigitAfterMarker(std::string_view entry, std::string_view marker) {
    const std::string upperMarker = upperAscii(marker);
    if (upperMarker.empty()) return 0;
    const size_t hit = upperAscii(entry).find(upperMarker);
    if (hit == std::string::npos) return 0;
    // From the marker's last character on: the digits of the server folder's own name.
    for (size_t i = hit + upperMarker.size() - 1; i < entry.size(); ++i)
        if (entry[i] >= '0' && entry[i] <= '9') return entry[i];
    return 0;
}

bool getFbServersOfVersion(std::string_view marker, const std::vector<std::string>& serverList,
                           std::string_view majorVersion, std::vector<std::string>& result) {
    result.clear();
    const std::string version = upperAscii(trim(majorVersion));
    if (version.empty()) return false;
    for (const auto& entry : serverList) {
        const char digit = firstDigitAfterMarker(entry, marker);
        if (digit != 0 && digit == version.front()) result.push_back(entry);
    }
    return !result.empty();
}

}  // namespace fbwb
