#include "platform/encoding.h"

namespace fbwb::platform {

namespace {
// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none (overlong forms,
// surrogates and values past U+10FFFF included).
size_t sequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}
}  // namespace

std::string toSystemNarrow(std::string_view utf8) { return std::string(utf8); }

std::string fromSystemNarrow(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = sequenceLength(bytes, at);
        if (length == 0) {
            result += "\xEF\xBF\xBD";
            ++at;
        } else {
            result.append(bytes, at, length);
            at += length;
        }
    }
    return result;
}

}  // namespace fbwb::platform
