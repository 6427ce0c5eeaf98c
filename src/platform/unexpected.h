#pragma once
// The one top-level handler: an exception that reaches a window's message handling or the
// program's start shows its text in an error box instead of ending the program.
#include <exception>
#include <string>

namespace fbwb::platform {

// The text of the exception in flight (call inside a catch block).
std::string currentExceptionText();

// Shows the exception in flight in an error box (call inside a catch block).
void reportCurrentException() noexcept;

// Runs the action; an exception is reported and false returned.
template <class Action>
bool runGuarded(Action&& action) noexcept {
    try {
        action();
        return true;
    } catch (...) {
        reportCurrentException();
        return false;
    }
}

}  // namespace fbwb::platform
