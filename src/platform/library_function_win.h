#pragma once
// A function of a system library that is loaded on first use: the shell's libraries and their own
// imports cost every launch measurable time, while most runs never open a shell dialog.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace fbwb::platform {

// The library stays loaded for the rest of the process. Throws when the function is missing.
template <typename Function>
Function* libraryFunction(const wchar_t* library, const char* name) {
    HMODULE module = LoadLibraryW(library);
    FARPROC address = module != nullptr ? GetProcAddress(module, name) : nullptr;
    if (address == nullptr) throw std::runtime_error(std::string("Hiányzó rendszerfüggvény: ") + name);
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(address));
}

}  // namespace fbwb::platform
