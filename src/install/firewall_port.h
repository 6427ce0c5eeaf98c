#pragma once
// The port of a server's firewall rule from its RemoteServicePort text. Pure text work.
#include <cstdint>
#include <string_view>

namespace fbwb {

// The text as a whole decimal number of 32 bits (an optional "-", then digits only, nothing else), handed on
// as 16 bits: a value outside 0..65535 keeps its low 16 bits (70587 -> 5051, -1 -> 65535). 3050 when the
// text is no such number ("", "3051abc", "+3051", " 3051", "0x0BEB", 4294967296).
std::uint16_t firewallPort(std::string_view portText);

}  // namespace fbwb
