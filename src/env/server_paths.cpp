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

bool getFbServersOfVersion(std::string_view marker, const std::vector<std::string>& serverList,
                           std::string_view majorVersion, std::vector<std::string>& result) {
    result.clear();
    const std::string upperMarker = upperAscii(marker);
    const std::string version = upperAscii(trim(majorVersion));
    if (upperMarker.empty() || version.empty()) return false;
    for (const auto& entry : serverList) {
        const size_t hit = upperAscii(entry).find(upperMarker);
        if (hit == std::string::npos) continue;
        // From the marker's last character on: the digits of the server folder's own name.
        for (size_t i = hit + upperMarker.size() - 1; i < entry.size(); ++i) {
            if (entry[i] >= '0' && entry[i] <= '9') {
                if (entry[i] == version.front()) result.push_back(entry);
                break;
            }
        }
    }
    return !result.empty();
}

}  // namespace fbwb
