#pragma once

#include "base/windows_api.h"

namespace verrolift::win32 {

// COM on this thread in a single-threaded apartment while it lives, as the shell's
// dialogs want it. A thread that has COM already keeps it as it is.
class ComApartment {
public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // False when the thread had joined the multithreaded apartment before.
    bool SingleThreaded() const { return result_ != RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

}  // namespace verrolift::win32
