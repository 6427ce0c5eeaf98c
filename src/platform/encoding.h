#pragma once
// Conversions at the Win32 boundary: text inside the program is UTF-8.
#include <string>
#include <string_view>

namespace fbwb::platform {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The 8-bit code pages of the system: the ANSI one (1250 on Hungarian Windows) and the
// OEM one that cmd.exe reads batch files in (852 there).
unsigned ansiCodePage();
unsigned oemCodePage();

// UTF-8 text in the given 8-bit code page, and back.
std::string toCodePage(std::string_view utf8, unsigned codePage);
std::string fromCodePage(std::string_view bytes, unsigned codePage);

// Text for and from the char interfaces of other libraries: the ANSI code page on Windows, UTF-8
// natively (where the way back replaces each byte that is not well-formed UTF-8 with U+FFFD).
// Natively these two are the only functions of this header.
std::string toSystemNarrow(std::string_view utf8);
std::string fromSystemNarrow(std::string_view bytes);

// True when the Unicode character survives the way through the code page and back unchanged:
// no default character, no best-fit look-alike. False for surrogates and values past U+10FFFF.
bool representableInCodePage(char32_t codePoint, unsigned codePage);

}  // namespace fbwb::platform
