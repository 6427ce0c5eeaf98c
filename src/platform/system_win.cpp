#include "platform/system.h"

#include <windows.h>

#include "platform/encoding.h"
#include "platform/handles_win.h"

namespace fbwb::platform {

namespace {
HKEY rootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::Users: return HKEY_USERS;
    }
    return HKEY_LOCAL_MACHINE;
}
}  // namespace

std::optional<std::string> readRegistryValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName) {
    return readRegistryValue(root, keyPath, valueName, RegistryView::Native);
}

std::optional<std::string> readRegistryValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                                             RegistryView view) {
    const REGSAM access = KEY_READ | (view == RegistryView::Wow32 ? KEY_WOW64_32KEY : 0);
    UniqueRegistryKey key;
    if (RegOpenKeyExW(rootKey(root), widen(keyPath).c_str(), 0, access, key.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }

    const std::wstring name = widen(valueName);
    // The value may grow between the size query and the read: retry while it does.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
        text.resize(bytes / sizeof(wchar_t));
        // A stored string need not be terminated; the text ends at its first terminator.
        const size_t end = text.find(L'\0');
        if (end != std::wstring::npos) text.resize(end);
        return narrow(text);
    }
    return std::nullopt;
}

unsigned presentDrivesMask() { return static_cast<unsigned>(GetLogicalDrives()); }

int driveType(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return DRIVE_NO_ROOT_DIR;
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
    return static_cast<int>(GetDriveTypeW(root));
}

int nativeProcessorArchitecture() {
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
}

std::uint64_t physicalMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

std::string systemMessage(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return narrow(text);
}

std::string computerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) return {};
    return narrow(std::wstring_view(name, length));
}

}  // namespace fbwb::platform
