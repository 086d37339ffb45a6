#pragma once

#include "base/host.h"

namespace verrolift {

// The pointer-move handlers of both windows: over a push button the window's hand, over
// its surface, frames and some controls the ordinary pointer. Neither touches a busy pointer.
inline void PointerOverButton(WindowPointer& pointer) {
    if (pointer.Pointer() != PointerShape::Busy) pointer.SetPointer(PointerShape::Custom);
}

inline void PointerOverSurface(WindowPointer& pointer) {
    if (pointer.Pointer() != PointerShape::Busy) pointer.SetPointer(PointerShape::Default);
}

}  // namespace verrolift
