#pragma once
// What the fuzz targets share: the input as text fields, and a failed property that stops the run
// with a readable account (libFuzzer then saves the input as a crash).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb::fuzz {

// The input's lines (split at LF only, so CR and other control characters stay inside a field).
inline std::vector<std::string> fields(const unsigned char* data, size_t size) {
    std::vector<std::string> result(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            result.emplace_back();
        else
            result.back() += static_cast<char>(data[i]);
    }
    return result;
}

inline std::string field(const std::vector<std::string>& all, size_t index, std::string_view fallback) {
    return index < all.size() ? all[index] : std::string(fallback);
}

// Shows bytes outside printable ASCII as \xNN, so the account can be read whatever the input holds.
inline std::string visible(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 0x20 && u < 0x7F) || c == '\n') {
            out += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    return out;
}

[[noreturn]] inline void fail(std::string_view property, std::string_view detail) {
    std::fprintf(stderr, "\nPROPERTY FAILED: %.*s\n%s\n", static_cast<int>(property.size()), property.data(),
                 visible(detail).c_str());
    std::abort();
}

inline void require(bool holds, std::string_view property, std::string_view detail = {}) {
    if (!holds) fail(property, detail);
}

inline std::string joined(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "] [" : "") + items[i];
    return out + "]";
}

}  // namespace fbwb::fuzz
