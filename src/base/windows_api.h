#pragma once

// <windows.h> for the Windows implementations, included here only, so that its
// macros that clash with this program's names are undone in one place.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// A no-op of 16-bit Windows kept as a macro; it would rename EventPump::Yield.
#undef Yield
#endif
