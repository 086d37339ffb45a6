#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "win32/desktop_services.h"

namespace verrolift::win32 {
namespace {

// The handler's refusal reaches the caller, who reports it.
TEST(DesktopServices, AnAddressNoHandlerTakesIsRefused) {
    verrolift::test::TempDir temp;
    EXPECT_FALSE(ShellUrlOpener()(temp.File("no such file.verrolift-none")));
}

}  // namespace
}  // namespace verrolift::win32
