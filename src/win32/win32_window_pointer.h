#pragma once

#include <functional>
#include <string>

#include "base/host.h"
#include "base/windows_api.h"

namespace verrolift::win32 {

// A window's pointer setting: default, busy (hourglass) or the window's own hand, read
// from a cursor file. Shown through WM_SETCURSOR: the window asks Cursor() for what to show
// over a control; a change is shown at once when the pointer is over the window.
class Win32WindowPointer : public WindowPointer {
public:
    Win32WindowPointer() = default;
    ~Win32WindowPointer() override;
    Win32WindowPointer(const Win32WindowPointer&) = delete;
    Win32WindowPointer& operator=(const Win32WindowPointer&) = delete;

    void Attach(HWND window) { window_ = window; }
    void SetPointer(PointerShape shape) override;
    PointerShape Pointer() const override { return shape_; }

    // False when the file is not a cursor that can be read; the old hand stays then.
    bool LoadHand(const std::wstring& path);
    bool HasHand() const { return hand_ != nullptr; }
    bool Busy() const { return shape_ == PointerShape::Busy; }
    // Told when the busy pointer comes and goes.
    void OnBusyChange(std::function<void(bool busy)> listener) {
        busyListener_ = std::move(listener);
    }

    // What the window shows over a control with no pointer of its own; null: the class's.
    HCURSOR Cursor() const;

private:
    void ShowNow() const;

    HWND window_ = nullptr;
    PointerShape shape_ = PointerShape::Default;
    HCURSOR hand_ = nullptr;
    std::function<void(bool)> busyListener_;
};

}  // namespace verrolift::win32
