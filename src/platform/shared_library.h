#pragma once
// Libraries loaded at run time. A library once loaded stays loaded for the rest of the process:
// client libraries start threads and keep state that does not survive an unload.
#include <stdexcept>
#include <string_view>

namespace fbwb::platform {

// what() is the system's text of the failure.
class SharedLibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The library's handle; a full path loads that file (on Windows its own dependencies come from its
// folder first), a bare name goes through the system's usual search. Loaded once per path.
void* loadSharedLibrary(std::string_view path);
// The address of an exported function; throws SharedLibraryError when the library has none of that name.
void* sharedLibraryFunction(void* library, const char* name);

}  // namespace fbwb::platform
