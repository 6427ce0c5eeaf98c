// The bare side of the start-up benchmark: a program that shows one dialog from a template and waits
// for input, marked the same way as the workbench (platform/startup_marks.h).
#include <windows.h>
#include <commctrl.h>

#include "platform/startup_marks.h"

namespace {

INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDOK)) {
        DestroyWindow(window);
        return TRUE;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showMode) {
    fbwb::platform::markStartupStep("WinMain");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateDialogParamW(instance, MAKEINTRESOURCEW(100), nullptr, procedure, 0);
    if (window == nullptr) return 1;
    fbwb::platform::markStartupStep("window");
    ShowWindow(window, showMode);
    UpdateWindow(window);
    fbwb::platform::markStartupStep("shown");
    MSG message;
    for (;;) {
        fbwb::platform::noteIdleOnce();
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
