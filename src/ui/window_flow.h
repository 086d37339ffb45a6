#pragma once

#include "app/window_flow.h"

namespace verrolift {

// What the Qt windows share is what the windows of any toolkit share.
using UiContext = AppContext;

}  // namespace verrolift
