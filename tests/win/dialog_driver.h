#pragma once
// Dialogs shown modally in the test process and driven from inside their own message loop, and the
// checks of their look that every dialog shares.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/encoding.h"

namespace fbwb::test {

constexpr UINT kRunScript = WM_APP + 17;
constexpr UINT kFallBack = WM_APP + 18;

// A dialog that runs the test's script once its modal loop is going. Whatever the script leaves
// open is closed afterwards, so a failed assertion never hangs the test.
template <typename Base>
class Driven : public Base {
public:
    using Base::Base;
    std::function<void(Driven&)> script;
    bool scriptRan = false;
    bool fellBack = false;  // the script left the dialog open

    void click(int id) { SendMessageW(this->item(id), BM_CLICK, 0, 0); }
    void type(int id, std::string_view value) { this->setText(id, value); }
    std::string textOf(int id) { return this->text(id); }
    bool isChecked(int id) { return this->checked(id); }
    bool isEnabled(int id) { return this->enabled(id); }
    bool isVisible(int id) { return (GetWindowLongPtrW(this->item(id), GWL_STYLE) & WS_VISIBLE) != 0; }

protected:
    void onInit() override {
        Base::onInit();
        PostMessageW(this->hwnd(), kRunScript, 0, 0);
    }
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message == kRunScript) {
            scriptRan = true;
            HWND window = this->hwnd();
            // As the user meets it: the dialog manager shows the dialog once its queue is empty.
            ShowWindow(window, SW_SHOWNA);
            if (script) script(*this);
            if (IsWindow(window)) PostMessageW(window, kFallBack, 0, 0);
            return true;
        }
        if (message == kFallBack) {
            fellBack = true;
            PostMessageW(this->hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return true;
        }
        return Base::onMessage(message, wParam, lParam, result);
    }
};

inline std::string withoutAccessKeys(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

inline std::string windowText(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return platform::narrow(buffer);
}

inline RECT rectInDialog(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline int textWidth(HWND control, const std::string& text) {
    const std::wstring wide = platform::widen(withoutAccessKeys(text));
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// The room the text takes when wrapped at word breaks within the width (as SS_LEFT draws it).
inline SIZE wrappedTextSize(HWND control, const std::string& text, int width) {
    const std::wstring wide = platform::widen(withoutAccessKeys(text));
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {rect.right, rect.bottom};
}

inline std::string className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return platform::narrow(name);
}

inline LONG_PTR style(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
inline bool isGroupBox(HWND window) { return className(window) == "Button" && (style(window) & BS_TYPEMASK) == BS_GROUPBOX; }

// Every control inside the client area, showing its whole caption, and none over another (group boxes
// and the pairs named aside).
inline void expectControlsInsideWithoutOverlap(HWND dialog, const std::set<std::pair<int, int>>& mayOverlap) {
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<HWND> controls;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
    for (HWND c : controls) {
        const RECT r = rectInDialog(c);
        const int id = GetDlgCtrlID(c);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom) << id;
        const std::string cls = className(c);
        const std::string caption = windowText(c);
        if (cls == "Button" && !caption.empty() && !isGroupBox(c)) {
            // The check mark, or a push button's frame, takes its share; the rest is for the caption.
            const LONG_PTR type = style(c) & BS_TYPEMASK;
            const int frame =
                type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? 8 : GetSystemMetrics(SM_CXMENUCHECK) + 4;
            EXPECT_LE(textWidth(c, caption) + frame, r.right - r.left) << id << " " << caption;
        } else if (cls == "Static") {
            // A left-aligned static wraps at word breaks: its lines must fit its height.
            const SIZE needed = wrappedTextSize(c, caption, r.right - r.left);
            EXPECT_LE(needed.cx, r.right - r.left) << id << " " << caption;
            EXPECT_LE(needed.cy, r.bottom - r.top) << id << " " << caption;
        }
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const int a = GetDlgCtrlID(controls[i]), b = GetDlgCtrlID(controls[j]);
            if (isGroupBox(controls[i]) || isGroupBox(controls[j])) continue;
            if (mayOverlap.count({std::min(a, b), std::max(a, b)})) continue;
            RECT ra = rectInDialog(controls[i]), rb = rectInDialog(controls[j]), both{};
            EXPECT_FALSE(IntersectRect(&both, &ra, &rb)) << a << " and " << b;
        }
}

// The controls that Tab reaches, once round.
inline std::set<int> tabStops(HWND dialog) {
    std::set<int> ids;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at != nullptr;) {
        ids.insert(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first) break;
    }
    return ids;
}

}  // namespace fbwb::test
