#pragma once

#include <string>
#include <vector>

#include "base/windows_api.h"
#include "win32/twips.h"
#include "win32/win32_window_pointer.h"

namespace verrolift::win32 {

// The fonts of the controls: frames, labels, option buttons, check boxes, text boxes and
// lists; push buttons; and the text font without bold, for a caption with little room.
enum class ControlFont { Text, Button, PlainText };

// One of the program's two windows: a fixed-size top-level window whose controls are
// placed in twips and placed again, with their fonts, when the window's dpi changes.
// Frames, labels, option buttons and check boxes show the designed white until the
// window takes the face colour. The pointer rules of the window live here too.
class TopWindow {
public:
    virtual ~TopWindow();
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;

    HWND Handle() const { return window_; }
    // Centred on its screen the first time; where it was left after that.
    void Show();
    void Hide();
    bool Visible() const { return IsWindowVisible(window_) != FALSE; }
    Win32WindowPointer& WindowsPointer() { return pointer_; }

protected:
    TopWindow() = default;
    // Creates the window, hidden, with a client area of width x height twips at its dpi.
    void Create(const wchar_t* className, int widthTwips, int heightTwips);
    // A control at box (twips in the client area); its text is UTF-8. Returns its handle.
    HWND Add(const wchar_t* controlClass, const std::string& text, DWORD style, const TwipsBox& box,
             int id, ControlFont font = ControlFont::Text, DWORD exStyle = 0);
    // Frames take the design background behind their controls.
    HWND AddFrame(const std::string& title, const TwipsBox& box, int id);
    // Push buttons show the window's hand; the surface and these controls reset the pointer.
    void HandOver(HWND control) { handControls_.push_back(control); }
    void ResetOver(HWND control) { resetControls_.push_back(control); }
    void TakeFaceColor();
    int Dpi() const { return dpi_; }

    // The window's own handling; anything it leaves goes to DefWindowProcW.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Paint(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool SetCursorFor(HWND under, LPARAM lParam);
    void LayOut(int dpi);
    HFONT FontOf(ControlFont font) const;
    RECT FrameRect() const;

    struct Placed {
        HWND control;
        TwipsBox box;
        ControlFont font;
    };
    HWND window_ = nullptr;
    int dpi_ = kDefaultDpi;
    int widthTwips_ = 0;
    int heightTwips_ = 0;
    bool placed_ = false;
    bool faceColor_ = false;
    std::vector<Placed> controls_;
    std::vector<TwipsBox> frames_;
    std::vector<HWND> handControls_;
    std::vector<HWND> resetControls_;
    HFONT textFont_ = nullptr;
    HFONT buttonFont_ = nullptr;
    HFONT plainFont_ = nullptr;
    HBRUSH designBrush_ = nullptr;
    Win32WindowPointer pointer_;
};

}  // namespace verrolift::win32
