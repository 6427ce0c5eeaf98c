#include "platform/shared_library.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <string>

#include "platform/encoding.h"
#include "platform/fs.h"

namespace fbwb::platform {

namespace {
bool isAbsolute(std::string_view path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool unc = path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
    return drive || unc;
}
}  // namespace

void* loadSharedLibrary(std::string_view path) {
    static std::mutex guard;
    static std::map<std::string, HMODULE, std::less<>> loaded;
    const std::lock_guard lock(guard);
    if (auto found = loaded.find(path); found != loaded.end()) return found->second;
    // The altered search order is defined only for an absolute path.
    const DWORD flags = isAbsolute(path) ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    const HMODULE module = LoadLibraryExW(widen(path).c_str(), nullptr, flags);
    if (module == nullptr) {
        // Some of the system's texts name the file by an insert ("%1 is not a valid Win32 application").
        std::string text = lastErrorText();
        if (const size_t insert = text.find("%1"); insert != std::string::npos) text.replace(insert, 2, path);
        throw SharedLibraryError(text);
    }
    loaded.emplace(std::string(path), module);
    return module;
}

void* sharedLibraryFunction(void* library, const char* name) {
    const FARPROC address = GetProcAddress(static_cast<HMODULE>(library), name);
    if (address == nullptr) throw SharedLibraryError(lastErrorText());
    return reinterpret_cast<void*>(address);
}

}  // namespace fbwb::platform
