#pragma once

#include "app/home_page.h"

namespace verrolift::win32 {

// The desktop's handler for an address (ShellExecuteW "open"): false when none took it.
UrlOpener ShellUrlOpener();

}  // namespace verrolift::win32
