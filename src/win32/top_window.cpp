#include "win32/top_window.h"

#include <algorithm>
#include <cwchar>

#include "app/pointer_rules.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void Register(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = nullptr;  // painted in WM_ERASEBKGND
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t found[32] = {};
    GetClassNameW(window, found, 32);
    return _wcsicmp(found, name) == 0;
}

bool Contains(const std::vector<HWND>& controls, HWND control) {
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

HFONT MakeFont(double points, int dpi, int weight = FW_BOLD) {
    const int height = -static_cast<int>(points * dpi / 72.0 + 0.5);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Arial");
}

}  // namespace

TopWindow::~TopWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(textFont_), static_cast<HGDIOBJ>(buttonFont_),
                           static_cast<HGDIOBJ>(plainFont_), static_cast<HGDIOBJ>(designBrush_)})
        if (object) DeleteObject(object);
}

void TopWindow::Create(const wchar_t* className, int widthTwips, int heightTwips) {
    Register(className, &TopWindow::Procedure);
    widthTwips_ = widthTwips;
    heightTwips_ = heightTwips;
    designBrush_ = CreateSolidBrush(RGB(255, 255, 255));
    window_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, className, L"", kWindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) return;
    pointer_.Attach(window_);
    LayOut(DpiOf(window_));
}

HWND TopWindow::Add(const wchar_t* controlClass, const std::string& text, DWORD style,
                    const TwipsBox& box, int id, ControlFont font, DWORD exStyle) {
    const RECT at = box.Pixels(dpi_);
    HWND control = CreateWindowExW(
        exStyle, controlClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top,
        at.right - at.left, at.bottom - at.top, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!control) return nullptr;
    controls_.push_back({control, box, font});
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(font)), FALSE);
    return control;
}

HWND TopWindow::AddFrame(const std::string& title, const TwipsBox& box, int id) {
    frames_.push_back(box);
    // Frames paint only their line and title: what is inside stays the window's.
    return Add(L"BUTTON", title, BS_GROUPBOX, box, id);
}

void TopWindow::Show() {
    if (!placed_) {
        placed_ = true;
        RECT frame{};
        GetWindowRect(window_, &frame);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                     work.top + (work.bottom - work.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void TopWindow::Hide() {
    ShowWindow(window_, SW_HIDE);
}

void TopWindow::TakeFaceColor() {
    faceColor_ = true;
    InvalidateRect(window_, nullptr, TRUE);
    for (const Placed& placed : controls_) InvalidateRect(placed.control, nullptr, TRUE);
}

RECT TopWindow::FrameRect() const {
    RECT rect = TwipsBox{0, 0, widthTwips_, heightTwips_}.Pixels(dpi_);
    AdjustWindowRectExForDpi(&rect, kWindowStyle, FALSE, WS_EX_CONTROLPARENT,
                             static_cast<UINT>(dpi_));
    return rect;
}

void TopWindow::LayOut(int dpi) {
    dpi_ = dpi;
    const HFONT old[] = {textFont_, buttonFont_, plainFont_};
    textFont_ = MakeFont(9.0, dpi);
    buttonFont_ = MakeFont(11.25, dpi);
    plainFont_ = MakeFont(9.0, dpi, FW_NORMAL);
    for (const Placed& placed : controls_) {
        const RECT at = placed.box.Pixels(dpi);
        SetWindowPos(placed.control, nullptr, at.left, at.top, at.right - at.left,
                     at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(placed.font)),
                     TRUE);
    }
    for (HFONT font : old)
        if (font) DeleteObject(font);
    const RECT frame = FrameRect();
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT TopWindow::FontOf(ControlFont font) const {
    switch (font) {
        case ControlFont::Button:
            return buttonFont_;
        case ControlFont::PlainText:
            return plainFont_;
        case ControlFont::Text:
            break;
    }
    return textFont_;
}

LRESULT CALLBACK TopWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<TopWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TopWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT TopWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Paint(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_SETCURSOR:
            if (SetCursorFor(reinterpret_cast<HWND>(wParam), lParam)) return TRUE;
            break;
        case WM_DPICHANGED: {
            LayOut(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        default:
            break;
    }
    if (OnMessage(message, wParam, lParam, result)) return result;
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool TopWindow::Paint(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            RECT client{};
            GetClientRect(window_, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            if (!faceColor_)
                for (const TwipsBox& frame : frames_) {
                    const RECT inside = frame.Pixels(dpi_);
                    FillRect(dc, &inside, designBrush_);
                }
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORSTATIC: {
            // Text boxes that are read-only or disabled ask here too: they keep their own look.
            if (IsClass(reinterpret_cast<HWND>(lParam), L"Edit")) return false;
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, faceColor_ ? GetSysColor(COLOR_BTNFACE) : RGB(255, 255, 255));
            result = reinterpret_cast<LRESULT>(faceColor_ ? GetSysColorBrush(COLOR_BTNFACE)
                                                          : designBrush_);
            return true;
        }
        default:
            return false;
    }
}

bool TopWindow::SetCursorFor(HWND under, LPARAM lParam) {
    if (under == window_ && LOWORD(lParam) != HTCLIENT) return false;
    if (Contains(handControls_, under))
        PointerOverButton(pointer_);
    else if (under == window_ || Contains(resetControls_, under))
        PointerOverSurface(pointer_);
    const HCURSOR cursor = pointer_.Cursor();
    if (!cursor) return false;
    // Text boxes keep their caret pointer unless the window is busy.
    if (!pointer_.Busy() && IsClass(under, L"Edit")) return false;
    SetCursor(cursor);
    return true;
}

}  // namespace verrolift::win32
