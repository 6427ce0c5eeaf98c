#pragma once
// The toolbar: owner-drawn push buttons, each a picture above its caption. Being real buttons,
// they take part in the Tab order, answer Enter, Space and their access keys, and can be disabled.
// One picture set serves the normal and the disabled look, a second one the hot look.
#include <windows.h>

#include <memory>
#include <vector>

namespace fbwb {

class PictureButtons {
public:
    PictureButtons();
    ~PictureButtons();
    PictureButtons(const PictureButtons&) = delete;
    PictureButtons& operator=(const PictureButtons&) = delete;

    // Takes over the buttons with their pictures (resource ids; a missing picture is left out).
    void attach(HWND button, int normalPicture, int hotPicture);
    // Lays the buttons out on one row between left and right: each as wide as its caption
    // needs, at least as wide as its picture. When the row is too long, the blanks around the
    // captions give way first, evenly, so that no letter is cut off.
    void layout(int left, int right, int top, int height, int gap);
    // Handles WM_DRAWITEM for one of the buttons; false when the item is not one of them.
    bool draw(const DRAWITEMSTRUCT& item);

private:
    struct Button;
    static LRESULT CALLBACK subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR data);
    std::vector<std::unique_ptr<Button>> buttons_;
};

// Pixels at the screen's DPI for a length given at 96 DPI.
int scaleForDpi(int pixelsAt96);

}  // namespace fbwb
