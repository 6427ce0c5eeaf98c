// Entry point: the main window and the message loop.
#include <windows.h>
#include <objbase.h>

#include "app/main_window_win.h"
#include "platform/dialog_win.h"
#include "platform/message_box_prompter_win.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/startup_marks.h"
#include "platform/unexpected.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showMode) {
    fbwb::platform::markStartupStep("WinMain");
    fbwb::platform::initCommonControls();
    // The shell's dialogs and the shell's "open" need COM in this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    fbwb::platform::MessageBoxPrompter boxes;
    fbwb::platform::PrompterOverride prompterInForce(boxes);

    int exitCode = 1;
    fbwb::platform::runGuarded([&] {
        fbwb::TfrmFbSettingsMain mainWindow;
        HWND window = mainWindow.createWindow(true);
        fbwb::platform::markStartupStep("window");
        fbwb::platform::setOwnerWindow(window);
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
        fbwb::platform::setOwnerWindow(nullptr);
        exitCode = static_cast<int>(message.wParam);
    });

    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
