#include "platform/unexpected.h"

#include <stdexcept>

#include "platform/prompter.h"

namespace fbwb::platform {

std::string currentExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Ismeretlen hiba történt.";
    }
}

void reportCurrentException() noexcept {
    try {
        prompter().showMessage(currentExceptionText(), BoxKind::Error);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on.
    }
}

}  // namespace fbwb::platform
