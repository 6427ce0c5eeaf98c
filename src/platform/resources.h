#pragma once
// Raw data (RCDATA) resources of the program's own module.
#include <string_view>

namespace fbwb::platform {

// The name is trimmed and upper-cased; true when the module holds an RCDATA resource of that name.
bool rcDataResourceExists(std::string_view name);
// Both arguments trimmed; false, writing nothing, when either is empty or the resource is missing.
// Otherwise the resource's whole content becomes the file (created or replaced) and the result is
// true; a write failure throws std::runtime_error with the system's error text.
bool saveRcDataResourceToFile(std::string_view name, std::string_view file);

}  // namespace fbwb::platform
