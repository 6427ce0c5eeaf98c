#pragma once
// The one door for questions and message boxes, so that a run can be tested with scripted answers.
#include <string>
#include <string_view>

namespace fbwb::platform {

enum class BoxKind { Error, Confirmation, Message };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A box with Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view text, BoxKind kind) = 0;
    // A box with a single OK button; returns when it is closed.
    virtual void showMessage(std::string_view text, BoxKind kind) = 0;
};

// The prompter in force; the program installs the message-box one at start-up.
Prompter& prompter();

// Puts another prompter in force for its lifetime (tests, scripted runs).
class PrompterOverride {
public:
    explicit PrompterOverride(Prompter& replacement);
    ~PrompterOverride();
    PrompterOverride(const PrompterOverride&) = delete;
    PrompterOverride& operator=(const PrompterOverride&) = delete;

private:
    Prompter* previous_;
};

}  // namespace fbwb::platform
