#include "platform/encoding.h"

#include <windows.h>

#include <algorithm>

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
std::string toSystemNarrow(std::string_view utf8) { return toCodePage(utf8, CP_ACP); }
std::string fromSystemNarrow(std::string_view bytes) { return fromCodePage(bytes, CP_ACP); }

bool representableInCodePage(char32_t codePoint, unsigned codePage) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
    wchar_t wide[2];
    int wideLength = 1;
    if (codePoint < 0x10000) {
        wide[0] = static_cast<wchar_t>(codePoint);
    } else {
        const char32_t offset = codePoint - 0x10000;
        wide[0] = static_cast<wchar_t>(0xD800 + (offset >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
        wideLength = 2;
    }
    if (codePage == CP_UTF8) return true;

    // The default-character flag catches what has no mapping at all; the way back catches the
    // best-fit look-alikes (a tilde-a written as a plain "a"), whether or not the flag is honoured.
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, bytes,
                                           static_cast<int>(sizeof bytes), nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    wchar_t back[4];
    const int backLength = MultiByteToWideChar(codePage, 0, bytes, length, back, 4);
    return backLength == wideLength && std::equal(wide, wide + wideLength, back);
}

}  // namespace fbwb::platform
