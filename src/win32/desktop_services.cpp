#include "win32/desktop_services.h"

#include "base/windows_api.h"
#include "win32/com_apartment.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

UrlOpener ShellUrlOpener() {
    return [](const std::string& address) {
        // Some handlers are COM objects: the shell wants COM on the calling thread.
        const ComApartment com;
        const HINSTANCE result =
            ShellExecuteW(nullptr, L"open", Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        // Above 32 is success; the rest are error numbers.
        return reinterpret_cast<INT_PTR>(result) > 32;
    };
}

}  // namespace verrolift::win32
