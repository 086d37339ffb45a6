#pragma once

#include "app/home_page.h"
#include "app/timer_seeded_random.h"

namespace verrolift {

// The desktop's URL handler (QDesktopServices).
UrlOpener DesktopUrlOpener();

}  // namespace verrolift
