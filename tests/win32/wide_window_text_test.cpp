#include <gtest/gtest.h>

#include "win32/wide_window_text.h"

namespace verrolift::win32 {
namespace {

// A window's text survives the trip through UTF-16, beyond Latin-1 and the BMP too.
TEST(WideWindowText, AWindowKeepsItsTextThroughUtf16) {
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    for (const char* text : {"", "plain", "Grüße € Ωμέγα", "\xF0\x9F\x98\x80 and more"}) {
        PutText(edit, text);
        EXPECT_EQ(TextOf(edit), text);
    }
    DestroyWindow(edit);
}

}  // namespace
}  // namespace verrolift::win32
