#include "platform/resources.h"

#include <windows.h>

#include <string>

#include "platform/encoding.h"
#include "platform/fs.h"

namespace fbwb::platform {

namespace {

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The resource of that name in the program's own module, or null.
HRSRC findRcData(std::string_view name) {
    std::wstring wide = widen(trimmed(name));
    if (wide.empty()) return nullptr;
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return FindResourceW(GetModuleHandleW(nullptr), wide.c_str(), RT_RCDATA);
}

}  // namespace

bool rcDataResourceExists(std::string_view name) { return findRcData(name) != nullptr; }

bool saveRcDataResourceToFile(std::string_view name, std::string_view file) {
    const std::string_view target = trimmed(file);
    if (trimmed(name).empty() || target.empty()) return false;
    const HRSRC resource = findRcData(name);
    if (resource == nullptr) return false;
    const HGLOBAL loaded = LoadResource(GetModuleHandleW(nullptr), resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return false;
    writeFileBytes(
        target, std::string_view(static_cast<const char*>(data), SizeofResource(GetModuleHandleW(nullptr), resource)));
    return true;
}

}  // namespace fbwb::platform
