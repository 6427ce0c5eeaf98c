#pragma once
// How a written page is handed to the platform to show. The runs take the opener as an argument,
// so that tests can record the request instead of starting a viewer.
#include <functional>
#include <string_view>

#include "platform/process.h"

namespace fbwb {

using PageOpener = std::function<void(std::string_view file, std::string_view verb, platform::ShowMode mode)>;

// Asks the shell to open the file with the verb in a window of the mode; the shell's result is ignored.
void openWithShell(std::string_view file, std::string_view verb, platform::ShowMode mode);

}  // namespace fbwb
