#pragma once
// A window bound to a DIALOGEX template, its controls reached by their resource ids. One static
// procedure stores the object at WM_INITDIALOG and dispatches to small virtual handlers; an
// exception never crosses the Win32 boundary but goes to the top-level handler.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles_win.h"

namespace fbwb::platform {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal: returns the code given to close() (IDOK, IDCANCEL), or -1 when no window was made.
    intptr_t showModal(HWND owner);
    // Modeless (the main window): the window lives until close() or the object's end.
    // Throws when the window cannot be made.
    HWND create(HWND owner);

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

    // Control helpers. Texts are UTF-8.
    std::string text(int id) const;
    void setText(int id, std::string_view text);
    bool checked(int id) const;
    void setChecked(int id, bool on);
    bool enabled(int id) const;
    void enable(int id, bool on);
    void setVisible(int id, bool on);
    // Item lists of combo and list boxes.
    std::vector<std::string> items(int id) const;
    void setItems(int id, const std::vector<std::string>& items);
    int selectedIndex(int id) const;  // -1 when nothing is selected
    void selectIndex(int id, int index);
    void setProgress(int id, int max, int position);

protected:
    virtual void onInit() {}
    // True when the command was handled.
    virtual bool onCommand(int /*id*/, int /*notifyCode*/) { return false; }
    virtual void onOk() { close(IDOK); }
    virtual void onCancel() { close(IDCANCEL); }
    // Any other message; true (with the result set) when handled.
    virtual bool onMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
    // Ends a modal dialog with the code, or destroys a modeless window.
    void close(intptr_t code);
    bool isModal() const { return modal_; }

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

// An option dialog of a task: its showForm prepares the controls, shows the dialog modally
// (owned by the application's window) and returns fOkClicked, which only the OK button sets.
// Enter is OK and Esc is Cancel, through the dialog manager's default and cancel buttons.
class OptionDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    // Shows the dialog modally over the owner (none: the application's window); true when the user confirmed.
    bool showModalForm(HWND owner = nullptr);
    // Called on OK before the dialog closes; false keeps it open (for example after telling the
    // user what is missing).
    virtual bool acceptOptions() { return true; }
    void onOk() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // The look every option dialog shares: OK and Cancel in bold, the dialog centred on its owner
    // (or the screen's work area) with its caption bar kept on the screen.
    void makeButtonsBold();
    void centreOnOwner();

    bool fOkClicked = false;

private:
    UniqueFont boldFont_;
};

// While it lives, Ctrl+Tab and Ctrl+Page Down (with Shift, or Ctrl+Page Up: backwards) inside the dialog
// move its tab control to the next page and tell the dialog with TCN_SELCHANGE, as a property sheet
// does. A dialog's own loop never offers these keys to a plain tab control.
class TabPageKeys {
public:
    TabPageKeys(HWND dialog, HWND tabs);
    ~TabPageKeys();
    TabPageKeys(const TabPageKeys&) = delete;
    TabPageKeys& operator=(const TabPageKeys&) = delete;

private:
    static LRESULT CALLBACK filter(int code, WPARAM wParam, LPARAM lParam);
    bool turnPage(const MSG& message);

    HWND dialog_;
    HWND tabs_;
    HHOOK hook_;
    TabPageKeys* outer_;
};

// Registers the common controls' window classes (Common Controls 6) for the dialogs; once per program.
void initCommonControls();

// The module that holds the dialog templates and pictures (the program's own file).
HINSTANCE resourceModule();

// The window's own font in another weight, its height scaled by heightPercent; null when the window has none.
// Only the height is taken over: a width kept from the regular face would keep its letters' widths.
UniqueFont windowFontWith(HWND window, int weight, int heightPercent);

// The white header band across the dialog's client area, bottomDlu dialog units high, with a
// separating line at its foot.
void paintHeaderBand(HWND dialog, HDC dc, int bottomDlu);

// A 32-bit picture of the resource module with straight alpha, premultiplied for AlphaBlend; null when
// the resource is missing or not 32-bit.
UniqueBitmap loadAlphaPicture(int id);

}  // namespace fbwb::platform
