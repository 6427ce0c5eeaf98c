#include "platform/encoding.h"

#include <windows.h>

namespace fbwb::platform {

namespace {
std::wstring toWide(std::string_view bytes, unsigned codePage) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), result.data(), size);
    return result;
}

std::string fromWide(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}
}  // namespace

std::wstring widen(std::string_view utf8) { return toWide(utf8, CP_UTF8); }
std::string narrow(std::wstring_view utf16) { return fromWide(utf16, CP_UTF8); }
unsigned ansiCodePage() { return GetACP(); }
unsigned oemCodePage() { return GetOEMCP(); }
std::string toCodePage(std::string_view utf8, unsigned codePage) { return fromWide(widen(utf8), codePage); }
std::string fromCodePage(std::string_view bytes, unsigned codePage) { return narrow(toWide(bytes, codePage)); }

}  // namespace fbwb::platform
