#pragma once

#include "app/home_page.h"

namespace verrolift {

// A generator seeded from the seconds since midnight, as each start does.
RandomFraction TimerSeededFraction();
// The desktop's URL handler (QDesktopServices).
UrlOpener DesktopUrlOpener();

}  // namespace verrolift
