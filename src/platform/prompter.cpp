#include "platform/prompter.h"

#include <stdexcept>

namespace fbwb::platform {

namespace {
Prompter* current = nullptr;
}

Prompter& prompter() {
    if (current == nullptr) throw std::logic_error("No prompter is installed for questions and messages.");
    return *current;
}

PrompterOverride::PrompterOverride(Prompter& replacement) : previous_(current) { current = &replacement; }

PrompterOverride::~PrompterOverride() { current = previous_; }

}  // namespace fbwb::platform
