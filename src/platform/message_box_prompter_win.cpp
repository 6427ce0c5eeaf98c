#include "platform/message_box_prompter_win.h"

#include <windows.h>

#include "platform/encoding.h"
#include "platform/process.h"

namespace fbwb::platform {

namespace {

UINT iconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error:
            return MB_ICONERROR;
        case BoxKind::Confirmation:
            return MB_ICONQUESTION;
        case BoxKind::Message:
            break;
    }
    return MB_ICONINFORMATION;
}

int show(std::string_view text, const std::string& caption, UINT style) {
    HWND owner = static_cast<HWND>(ownerWindow());
    // Without an owner the box still has to block the program's other windows.
    if (owner == nullptr) style |= MB_TASKMODAL;
    return MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), style);
}

}  // namespace

bool MessageBoxPrompter::askYesNo(std::string_view text, BoxKind kind) {
    return show(text, caption_, MB_YESNO | iconOf(kind)) == IDYES;
}

void MessageBoxPrompter::showMessage(std::string_view text, BoxKind kind) {
    show(text, caption_, MB_OK | iconOf(kind));
}

}  // namespace fbwb::platform
