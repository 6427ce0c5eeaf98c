#include "app/picture_buttons_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <type_traits>
#include <utility>
#include <string>

#include "platform/dialog_win.h"

namespace fbwb {

namespace {

constexpr int kPictureWidth = 102;
constexpr int kPictureHeight = 100;

using platform::UniqueBitmap;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The caption's width as drawn (the access-key ampersand takes no room), with or without the
// blanks around it.
int captionWidth(HDC dc, HWND button, bool trimmed) {
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    std::wstring text = windowText(button);
    if (trimmed) {
        const size_t first = text.find_first_not_of(L' ');
        text = first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L' ') - first + 1);
    }
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    return rect.right - rect.left;
}

}  // namespace

int scaleForDpi(int pixelsAt96) {
    // The program is system DPI aware: the DPI it starts with holds for its whole run.
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return MulDiv(pixelsAt96, dpi, 96);
}

struct PictureButtons::Button {
    HWND window = nullptr;
    UniqueBitmap normal;
    UniqueBitmap hot;
    int hotPicture = 0;  // loaded when the mouse first comes over the button, not at start-up
    bool isHot = false;
};

PictureButtons::PictureButtons() = default;

PictureButtons::~PictureButtons() {
    for (const auto& button : buttons_)
        if (IsWindow(button->window)) RemoveWindowSubclass(button->window, subclassProcedure, 0);
}

void PictureButtons::attach(HWND window, int normalPicture, int hotPicture) {
    auto button = std::make_unique<Button>();
    button->window = window;
    button->normal = platform::loadAlphaPicture(normalPicture);
    button->hotPicture = hotPicture;
    SetWindowSubclass(window, subclassProcedure, 0, reinterpret_cast<DWORD_PTR>(button.get()));
    buttons_.push_back(std::move(button));
}

void PictureButtons::layout(int left, int right, int top, int height, int gap) {
    const int padding = scaleForDpi(12);
    const int minimum = scaleForDpi(kPictureWidth) + scaleForDpi(8);
    std::vector<int> natural, tightest;
    int naturalSum = 0, slack = 0;
    HDC dc = GetDC(nullptr);
    for (const auto& button : buttons_) {
        natural.push_back(std::max(captionWidth(dc, button->window, false) + padding, minimum));
        tightest.push_back(
            std::min(natural.back(), std::max(captionWidth(dc, button->window, true) + padding, minimum)));
        naturalSum += natural.back();
        slack += natural.back() - tightest.back();
    }
    ReleaseDC(nullptr, dc);
    const int available = right - left - gap * (static_cast<int>(buttons_.size()) - 1);
    const int excess = std::min(std::max(naturalSum - available, 0), slack);
    int x = left;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const int give = slack > 0 ? MulDiv(natural[i] - tightest[i], excess, slack) : 0;
        const int width = natural[i] - give;
        SetWindowPos(buttons_[i]->window, nullptr, x, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        x += width + gap;
    }
}

bool PictureButtons::draw(const DRAWITEMSTRUCT& item) {
    const auto found = std::find_if(buttons_.begin(), buttons_.end(),
                                    [&](const auto& button) { return button->window == item.hwndItem; });
    if (found == buttons_.end()) return false;
    const Button& button = **found;
    HDC dc = item.hDC;
    const RECT bounds = item.rcItem;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool hot = button.isHot && !disabled;

    FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (hot || pressed) {
        HBRUSH fill = CreateSolidBrush(pressed ? RGB(204, 228, 247) : RGB(229, 241, 251));
        HPEN pen = CreatePen(PS_SOLID, 1, pressed ? RGB(86, 157, 229) : RGB(112, 192, 231));
        HGDIOBJ oldBrush = SelectObject(dc, fill);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        const int corner = scaleForDpi(6);
        RoundRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom, corner, corner);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(fill);
    }

    const int pictureWidth = scaleForDpi(kPictureWidth);
    const int pictureHeight = scaleForDpi(kPictureHeight);
    const int shift = pressed ? 1 : 0;
    const int pictureLeft = bounds.left + (bounds.right - bounds.left - pictureWidth) / 2 + shift;
    const int pictureTop = bounds.top + scaleForDpi(3) + shift;
    HBITMAP picture = hot && button.hot ? button.hot.get() : button.normal.get();
    if (picture != nullptr) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture);
        BITMAP info{};
        GetObjectW(picture, sizeof info, &info);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(disabled ? 90 : 255), AC_SRC_ALPHA};
        AlphaBlend(dc, pictureLeft, pictureTop, pictureWidth, pictureHeight, source, 0, 0, info.bmWidth,
                   std::abs(info.bmHeight), blend);
        SelectObject(source, old);
        DeleteDC(source);
    }

    RECT textRect = bounds;
    textRect.top = pictureTop + pictureHeight;
    OffsetRect(&textRect, shift, 0);
    const std::wstring caption = windowText(item.hwndItem);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = bounds;
        InflateRect(&focus, -scaleForDpi(3), -scaleForDpi(3));
        DrawFocusRect(dc, &focus);
    }
    return true;
}

LRESULT CALLBACK PictureButtons::subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR, DWORD_PTR data) {
    auto* button = reinterpret_cast<Button*>(data);
    switch (message) {
        case WM_MOUSEMOVE:
            if (!button->isHot) {
                button->isHot = true;
                if (button->hotPicture != 0)
                    button->hot = platform::loadAlphaPicture(std::exchange(button->hotPicture, 0));
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
                InvalidateRect(window, nullptr, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            button->isHot = false;
            InvalidateRect(window, nullptr, FALSE);
            break;
        case WM_ERASEBKGND:
            return 1;  // the whole face is painted in WM_DRAWITEM; no flicker
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, subclassProcedure, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace fbwb
