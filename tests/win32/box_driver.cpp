#include "box_driver.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "win32/wide_window_text.h"

namespace verrolift::win32::test {

namespace {

using std::chrono::seconds;
using std::chrono::steady_clock;

// One driver at a time per thread: the timer's callback has no other way to it.
thread_local BoxDriver* driving = nullptr;

bool IsClass(HWND window, std::wstring_view name) {
    wchar_t found[32] = {};
    GetClassNameW(window, found, static_cast<int>(std::size(found)));
    return CompareStringOrdinal(found, -1, name.data(), static_cast<int>(name.size()), TRUE) ==
           CSTR_EQUAL;
}

std::vector<HWND> ShownBoxes() {
    std::vector<HWND> boxes;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (IsClass(window, L"#32770") && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

}  // namespace

OwnerWindow::OwnerWindow(RECT place)
    : window_(CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left,
                              place.top, place.right - place.left, place.bottom - place.top,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

BoxDriver::BoxDriver(HWND owner, Step step)
    : owner_(owner),
      step_(std::move(step)),
      timer_(SetTimer(nullptr, 0, 50, &BoxDriver::OnTick)),
      deadline_(steady_clock::now() + seconds(30)) {
    driving = this;
}

BoxDriver::~BoxDriver() {
    KillTimer(nullptr, timer_);
    driving = nullptr;
}

void CALLBACK BoxDriver::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    BoxDriver* self = driving;
    if (!self) return;
    const std::vector<HWND> boxes = ShownBoxes();
    for (HWND box : boxes) {
        if (self->done_ || GetWindow(box, GW_OWNER) != self->owner_) continue;
        self->found_ = true;
        if (self->step_(box)) {
            self->done_ = true;
            self->deadline_ = std::min(self->deadline_, steady_clock::now() + seconds(5));
        }
        break;
    }
    if (steady_clock::now() < self->deadline_) return;
    for (HWND box : boxes) {
        ++self->strays_;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    }
}

std::vector<std::string> StaticTexts(HWND box) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsClass(child, L"Static")) texts.push_back(TextOf(child));
    }
    return texts;
}

HICON ShownIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) continue;
        if (const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)))
            return icon;
    }
    return nullptr;
}

void Press(HWND box, int id) {
    SendMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void Type(HWND control, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(control, WM_CHAR, c, 1);
}

POINT OffCentre(HWND box, HWND owner) {
    RECT b{};
    RECT o{};
    GetWindowRect(box, &b);
    GetWindowRect(owner, &o);
    return POINT{(b.left + b.right - o.left - o.right) / 2,
                 (b.top + b.bottom - o.top - o.bottom) / 2};
}

}  // namespace verrolift::win32::test
