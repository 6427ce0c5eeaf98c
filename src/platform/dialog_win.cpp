#include "platform/dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/unexpected.h"

namespace fbwb::platform {

namespace {

// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool returnsItsResult(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON;
}

}  // namespace

void initCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

HINSTANCE resourceModule() { return GetModuleHandleW(nullptr); }

Dialog::~Dialog() {
    if (hwnd_ != nullptr && !modal_) DestroyWindow(hwnd_);
}

intptr_t Dialog::showModal(HWND owner) {
    modal_ = true;
    const INT_PTR result = DialogBoxParamW(resourceModule(), MAKEINTRESOURCEW(templateId_), owner, procedure,
                                           reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    return result;
}

HWND Dialog::create(HWND owner) {
    modal_ = false;
    HWND window = CreateDialogParamW(resourceModule(), MAKEINTRESOURCEW(templateId_), owner, procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (window == nullptr) throw std::runtime_error("Az ablak nem hozható létre: " + lastErrorText());
    return window;
}

void Dialog::close(intptr_t code) {
    if (hwnd_ == nullptr) return;
    if (modal_) {
        EndDialog(hwnd_, code);
    } else {
        DestroyWindow(hwnd_);
    }
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->dispatch(message, wParam, lParam);
    } catch (...) {
        reportCurrentException();
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInit();
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (onCommand(id, code)) return TRUE;
            if (id == IDOK && code == BN_CLICKED) {
                onOk();
                return TRUE;
            }
            if (id == IDCANCEL && code == BN_CLICKED) {
                onCancel();
                return TRUE;
            }
            return FALSE;
        }
        default: {
            INT_PTR result = 0;
            if (!onMessage(message, wParam, lParam, result)) return FALSE;
            if (returnsItsResult(message)) return result;
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
}

bool OptionDialog::showModalForm(HWND owner) {
    fOkClicked = false;
    if (showModal(owner != nullptr ? owner : static_cast<HWND>(ownerWindow())) == -1)
        throw std::runtime_error("Az ablak nem hozható létre: " + lastErrorText());
    return fOkClicked;
}

void OptionDialog::onOk() {
    if (!acceptOptions()) return;
    fOkClicked = true;
    close(IDOK);
}

void OptionDialog::makeButtonsBold() {
    boldFont_ = windowFontWith(hwnd(), FW_BOLD, 100);
    if (!boldFont_) return;
    for (int id : {IDOK, IDCANCEL}) SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
}

void OptionDialog::centreOnOwner() {
    RECT window{};
    GetWindowRect(hwnd(), &window);
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    HMONITOR monitor = MonitorFromWindow(owner != nullptr ? owner : hwnd(), MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    RECT around = info.rcWork;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = around.left + (around.right - around.left - width) / 2;
    int top = around.top + (around.bottom - around.top - height) / 2;
    // Keep the caption bar on the screen.
    left = std::max(static_cast<int>(info.rcWork.left), std::min(left, static_cast<int>(info.rcWork.right) - width));
    top = std::max(static_cast<int>(info.rcWork.top), std::min(top, static_cast<int>(info.rcWork.bottom) - height));
    SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool OptionDialog::onMessage(UINT message, WPARAM, LPARAM, INT_PTR&) {
    // The buttons are gone: nothing draws with the bold font any more.
    if (message == WM_NCDESTROY) boldFont_.reset();
    return false;
}

std::string Dialog::text(int id) const {
    HWND control = item(id);
    const int length = GetWindowTextLengthW(control);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return narrow(buffer);
}

void Dialog::setText(int id, std::string_view text) { SetWindowTextW(item(id), widen(text).c_str()); }

bool Dialog::checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

void Dialog::setChecked(int id, bool on) { CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }

bool Dialog::enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }

void Dialog::enable(int id, bool on) { EnableWindow(item(id), on ? TRUE : FALSE); }

void Dialog::setVisible(int id, bool on) { ShowWindow(item(id), on ? SW_SHOW : SW_HIDE); }

namespace {

bool isListBox(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return lstrcmpiW(name, L"ListBox") == 0;
}

}  // namespace

std::vector<std::string> Dialog::items(int id) const {
    HWND control = item(id);
    const bool list = isListBox(control);
    const LRESULT count = SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    std::vector<std::string> result;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0);
        std::wstring buffer(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        buffer.resize(static_cast<size_t>(length < 0 ? 0 : length));
        result.push_back(narrow(buffer));
    }
    return result;
}

void Dialog::setItems(int id, const std::vector<std::string>& items) {
    HWND control = item(id);
    const bool list = isListBox(control);
    SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
    for (const std::string& text : items) {
        const std::wstring wide = widen(text);
        SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

int Dialog::selectedIndex(int id) const {
    HWND control = item(id);
    const LRESULT index = SendMessageW(control, isListBox(control) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

void Dialog::selectIndex(int id, int index) {
    HWND control = item(id);
    SendMessageW(control, isListBox(control) ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Dialog::setProgress(int id, int max, int position) {
    HWND control = item(id);
    SendMessageW(control, PBM_SETRANGE32, 0, max > 0 ? max : 1);
    SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

UniqueFont windowFontWith(HWND window, int weight, int heightPercent) {
    LOGFONTW font{};
    const auto windowFont = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (windowFont == nullptr || GetObjectW(windowFont, sizeof font, &font) == 0) return {};
    return UniqueFont(CreateFontW(font.lfHeight * heightPercent / 100, 0, 0, 0, weight, font.lfItalic, FALSE, FALSE,
                                  font.lfCharSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, font.lfQuality,
                                  font.lfPitchAndFamily, font.lfFaceName));
}

void paintHeaderBand(HWND dialog, HDC dc, int bottomDlu) {
    RECT client{};
    GetClientRect(dialog, &client);
    RECT band{0, 0, 0, bottomDlu};
    MapDialogRect(dialog, &band);
    band.right = client.right;
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, band.bottom - 1, nullptr);
    LineTo(dc, band.right, band.bottom - 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

UniqueBitmap loadAlphaPicture(int id) {
    UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(resourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION section{};
    if (!bitmap || GetObjectW(bitmap.get(), sizeof section, &section) != sizeof section ||
        section.dsBm.bmBitsPixel != 32 || section.dsBm.bmBits == nullptr)
        return {};
    auto* pixel = static_cast<BYTE*>(section.dsBm.bmBits);
    const size_t count =
        static_cast<size_t>(section.dsBm.bmWidth) * static_cast<size_t>(std::abs(section.dsBm.bmHeight));
    for (size_t i = 0; i < count; ++i, pixel += 4)
        for (int channel = 0; channel < 3; ++channel)
            pixel[channel] = static_cast<BYTE>(pixel[channel] * pixel[3] / 255);
    return bitmap;
}

namespace {
// The innermost living TabPageKeys of this thread: a nested modal dialog's keys go to it.
thread_local TabPageKeys* activeTabPageKeys = nullptr;
}  // namespace

TabPageKeys::TabPageKeys(HWND dialog, HWND tabs)
    : dialog_(dialog),
      tabs_(tabs),
      hook_(SetWindowsHookExW(WH_MSGFILTER, filter, nullptr, GetCurrentThreadId())),
      outer_(activeTabPageKeys) {
    activeTabPageKeys = this;
}

TabPageKeys::~TabPageKeys() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    activeTabPageKeys = outer_;
}

LRESULT CALLBACK TabPageKeys::filter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && activeTabPageKeys != nullptr && activeTabPageKeys->turnPage(*message)) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool TabPageKeys::turnPage(const MSG& message) {
    if (message.message != WM_KEYDOWN || (GetKeyState(VK_CONTROL) & 0x8000) == 0) return false;
    if (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)) return false;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    int step = 0;
    if (message.wParam == VK_TAB) step = shift ? -1 : 1;
    if (message.wParam == VK_NEXT) step = 1;
    if (message.wParam == VK_PRIOR) step = -1;
    const int count = static_cast<int>(SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0));
    if (step == 0 || count < 2) return false;
    const int current = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>((current + step + count) % count), 0);
    NMHDR changed{tabs_, static_cast<UINT_PTR>(GetDlgCtrlID(tabs_)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog_, WM_NOTIFY, changed.idFrom, reinterpret_cast<LPARAM>(&changed));
    return true;
}

}  // namespace fbwb::platform
