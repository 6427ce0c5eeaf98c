#pragma once
// Answers a modal dialog as a user would: a second thread waits for the visible dialog that shows
// a label (in its title or one of its controls) in the given thread, then clicks a button.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

namespace fbwb::test {

namespace detail {

struct Search {
    std::wstring label;
    HWND found = nullptr;
    std::wstring labelSeen;
};

inline BOOL CALLBACK findLabel(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    if (search->label == text) {
        search->labelSeen = text;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog whose title or one of whose controls shows the label.
inline BOOL CALLBACK findDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    findLabel(window, data);
    if (search->labelSeen.empty()) EnumChildWindows(window, findLabel, data);
    if (search->labelSeen.empty()) return TRUE;
    search->found = window;
    return FALSE;
}

// A folder dialog's tree settles on its root a moment after the dialog shows (the desktop may be
// selected first); OK before that would answer with another folder. Waits, bounded, until the
// tree's selected item reads as expected.
inline void waitForTreeSelection(HWND dialog, const std::wstring& expected) {
    HWND tree = FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr);
    for (HWND child = GetWindow(dialog, GW_CHILD); tree == nullptr && child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        tree = FindWindowExW(child, nullptr, L"SysTreeView32", nullptr);
    if (tree == nullptr) return;
    for (int i = 0; i < 100; ++i) {
        wchar_t text[MAX_PATH] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        if (item.hItem != nullptr && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
            expected == text)
            return;
        Sleep(50);
    }
}

}  // namespace detail

// Waits for the dialog showing the label in the given thread, then ends it with the button.
// With a tree item text, a folder dialog is answered only once that item is selected.
inline std::thread answerDialog(DWORD threadId, std::wstring label, int button, std::atomic<bool>& seen,
                                std::wstring treeItem = L"") {
    return std::thread([=, &seen] {
        for (int i = 0; i < 200; ++i) {
            detail::Search search{label, nullptr, {}};
            EnumThreadWindows(threadId, detail::findDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                seen = true;
                if (!treeItem.empty()) detail::waitForTreeSelection(search.found, treeItem);
                PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                return;
            }
            Sleep(50);
        }
    });
}


}  // namespace fbwb::test
