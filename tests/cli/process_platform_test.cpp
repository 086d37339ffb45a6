#include "cli/process_platform.h"

#include <csignal>

#include <gtest/gtest.h>

namespace verrolift {
namespace {

// Each signal that asks a program to stop sets the flag and leaves the program running,
// again and again.
class StopSignal : public ::testing::TestWithParam<int> {};

TEST_P(StopSignal, SetsTheFlagEachTimeInsteadOfEndingTheProgram) {
    static volatile std::sig_atomic_t flag = 0;
    StopOnSignals(&flag);
    for (int round = 0; round < 2; ++round) {
        flag = 0;
        ASSERT_EQ(std::raise(GetParam()), 0);
        EXPECT_EQ(flag, GetParam()) << "round " << round;
    }
}

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(Windows, StopSignal, ::testing::Values(SIGINT, SIGTERM, SIGBREAK));
#else
INSTANTIATE_TEST_SUITE_P(Posix, StopSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP));
#endif

}  // namespace
}  // namespace verrolift
