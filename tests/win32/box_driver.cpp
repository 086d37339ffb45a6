#include "box_driver.h"

#include <iterator>
#include <string_view>

#include "win32/wide_window_text.h"

namespace verrolift::win32::test {

namespace {

using std::chrono::seconds;
using std::chrono::steady_clock;

constexpr wchar_t kOwnerClass[] = L"VerroliftTestOwner";
constexpr auto kGraceAfterDone = seconds(5);
constexpr auto kLongestDrive = seconds(30);

thread_local BoxDriver* driving = nullptr;

bool IsDialogBox(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring_view(name) == L"#32770";
}

std::vector<HWND> ShownBoxes() {
    std::vector<HWND> boxes;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (IsDialogBox(window) && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

}  // namespace

OwnerWindow::OwnerWindow(RECT place) {
    static const ATOM registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = kOwnerClass;
        return RegisterClassExW(&type);
    }();
    static_cast<void>(registered);
    window_ =
        CreateWindowExW(0, kOwnerClass, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() {
    DestroyWindow(window_);
}

BoxDriver::BoxDriver(HWND owner, Step step)
    : owner_(owner),
      step_(std::move(step)),
      timer_(SetTimer(nullptr, 0, 50, &BoxDriver::OnTick)),
      outer_(driving),
      begun_(steady_clock::now()) {
    driving = this;
}

BoxDriver::~BoxDriver() {
    KillTimer(nullptr, timer_);
    driving = outer_;
}

void CALLBACK BoxDriver::OnTick(HWND, UINT, UINT_PTR timer, DWORD) {
    for (BoxDriver* driver = driving; driver; driver = driver->outer_) {
        if (driver->timer_ == timer) driver->Tick();
    }
}

void BoxDriver::Tick() {
    const auto now = steady_clock::now();
    if (!done_) {
        const std::vector<HWND> boxes = BoxesOwnedBy(owner_);
        if (!boxes.empty()) {
            found_ = true;
            if (step_(boxes.front())) {
                done_ = true;
                doneAt_ = now;
            }
        }
    }
    if ((done_ && now - doneAt_ > kGraceAfterDone) || now - begun_ > kLongestDrive) {
        for (HWND box : ShownBoxes()) {
            ++strays_;
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

std::vector<HWND> BoxesOwnedBy(HWND owner) {
    std::vector<HWND> owned;
    for (HWND box : ShownBoxes()) {
        if (GetWindow(box, GW_OWNER) == owner) owned.push_back(box);
    }
    return owned;
}

std::vector<std::string> StaticTexts(HWND box) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, static_cast<int>(std::size(name)));
        if (CompareStringOrdinal(name, -1, L"Static", -1, TRUE) == CSTR_EQUAL)
            texts.push_back(TextOf(child));
    }
    return texts;
}

HICON ShownIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) continue;
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (icon) return icon;
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
    return POINT{(b.left + b.right) / 2 - (o.left + o.right) / 2,
                 (b.top + b.bottom) / 2 - (o.top + o.bottom) / 2};
}

}  // namespace verrolift::win32::test
