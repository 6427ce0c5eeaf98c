#include "platform/shared_library.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

namespace fbwb::platform {

namespace {
std::string dlText(const char* fallback) {
    const char* text = dlerror();
    return text != nullptr ? text : fallback;
}
}  // namespace

void* loadSharedLibrary(std::string_view path) {
    static std::mutex guard;
    static std::map<std::string, void*, std::less<>> loaded;
    const std::lock_guard lock(guard);
    if (auto found = loaded.find(path); found != loaded.end()) return found->second;
    void* library = dlopen(std::string(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) throw SharedLibraryError(dlText("dlopen failed"));
    loaded.emplace(std::string(path), library);
    return library;
}

void* sharedLibraryFunction(void* library, const char* name) {
    dlerror();
    void* address = dlsym(library, name);
    if (address == nullptr) throw SharedLibraryError(dlText("dlsym found nothing"));
    return address;
}

}  // namespace fbwb::platform
