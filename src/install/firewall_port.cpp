#include "install/firewall_port.h"

#include <charconv>
#include <cstdint>

namespace fbwb {

std::uint16_t firewallPort(std::string_view portText) {
    constexpr std::int32_t kDefaultPort = 3050;
    std::int32_t value = 0;
    const char* end = portText.data() + portText.size();
    const auto [stop, error] = std::from_chars(portText.data(), end, value);
    if (error != std::errc() || stop != end) value = kDefaultPort;
    return static_cast<std::uint16_t>(value);
}

}  // namespace fbwb
