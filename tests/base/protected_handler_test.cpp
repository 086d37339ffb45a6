#include "base/protected_handler.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using test::RecordingDialogs;

TEST(ProtectedHandler, FailureIsReportedAndNextStatementRuns) {
    RecordingDialogs dialogs;
    std::vector<int> ran;
    ProtectedHandler h(tags::kForm2Load, dialogs);
    h.Run(100, [&] {
        ran.push_back(100);
        throw Failure("boom");
    });
    h.Run(102, [&] { ran.push_back(102); });
    EXPECT_EQ(ran, (std::vector<int>{100, 102}));
    ASSERT_EQ(dialogs.reports.size(), 1u);
    EXPECT_EQ(dialogs.reports[0].tag, tags::kForm2Load);
    EXPECT_EQ(dialogs.reports[0].step, 100);
    EXPECT_EQ(dialogs.reports[0].description, "boom");
}

TEST(ProtectedHandler, FailingTestCountsAsPassed) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kForm2Load, dialogs);
    bool blockRan = false;
    if (h.Test(110, []() -> bool { throw Failure("cannot tell"); })) blockRan = true;
    EXPECT_TRUE(blockRan);
    EXPECT_EQ(dialogs.ReportSteps(), std::vector<int>{110});
    EXPECT_FALSE(h.Test(112, [] { return false; }));
}

TEST(ProtectedHandler, LoopGoesOnInSamePassAndEachFailureIsReportedInOrder) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kForm2Import, dialogs);
    std::vector<int> afterFailure;
    for (int pass = 0; pass < 3; ++pass) {
        h.Run(236, [&] {
            if (pass != 1) throw Failure("row " + std::to_string(pass));
        });
        h.Run(238, [&] { afterFailure.push_back(pass); });
    }
    EXPECT_EQ(afterFailure, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(dialogs.reports.size(), 2u);
    EXPECT_EQ(dialogs.reports[0].description, "row 0");
    EXPECT_EQ(dialogs.reports[1].description, "row 2");
    EXPECT_EQ(h.Failures(), 2);
}

TEST(ProtectedHandler, StandardExceptionsAreReportedWithTheirText) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kForm1Load, dialogs);
    EXPECT_FALSE(h.Run(104, [] { throw std::runtime_error("std failure"); }));
    EXPECT_TRUE(h.Run(106, [] {}));
    EXPECT_EQ(dialogs.reports.at(0).description, "std failure");
}

TEST(ProtectedHandler, RunAbortedPassesThroughUnreported) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kForm2Import, dialogs);
    EXPECT_THROW(h.Run(236, [] { throw RunAborted{}; }), RunAborted);
    EXPECT_TRUE(dialogs.reports.empty());
}

}  // namespace
}  // namespace verrolift
