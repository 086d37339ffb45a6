#include "base/protected_handler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using test::RecordingDialogs;

// Statement numbers of a handler under test; any distinct values do.
constexpr std::int32_t kFirst = 100;
constexpr std::int32_t kSecond = 102;
constexpr std::int32_t kCondition = 110;

TEST(ProtectedHandler, FailureIsReportedAndNextStatementRuns) {
    RecordingDialogs dialogs;
    std::vector<int> ran;
    ProtectedHandler h(tags::kMainLoad, dialogs);
    h.Run(kFirst, [&] {
        ran.push_back(kFirst);
        throw Failure("boom");
    });
    h.Run(kSecond, [&] { ran.push_back(kSecond); });
    EXPECT_EQ(ran, (std::vector<int>{kFirst, kSecond}));
    ASSERT_EQ(dialogs.reports.size(), 1u);
    EXPECT_EQ(dialogs.reports[0].tag, tags::kMainLoad);
    EXPECT_EQ(dialogs.reports[0].step, kFirst);
    EXPECT_EQ(dialogs.reports[0].description, "boom");
}

TEST(ProtectedHandler, FailingTestCountsAsPassed) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kMainLoad, dialogs);
    bool blockRan = false;
    if (h.Test(kCondition, []() -> bool { throw Failure("cannot tell"); })) blockRan = true;
    EXPECT_TRUE(blockRan);
    EXPECT_EQ(dialogs.ReportSteps(), std::vector<int>{kCondition});
    EXPECT_FALSE(h.Test(kSecond, [] { return false; }));
}

TEST(ProtectedHandler, LoopGoesOnInSamePassAndEachFailureIsReportedInOrder) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kMainImport, dialogs);
    std::vector<int> afterFailure;
    for (int pass = 0; pass < 3; ++pass) {
        h.Run(kFirst, [&] {
            if (pass != 1) throw Failure("row " + std::to_string(pass));
        });
        h.Run(kSecond, [&] { afterFailure.push_back(pass); });
    }
    EXPECT_EQ(afterFailure, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(dialogs.reports.size(), 2u);
    EXPECT_EQ(dialogs.reports[0].description, "row 0");
    EXPECT_EQ(dialogs.reports[1].description, "row 2");
    EXPECT_EQ(h.Failures(), 2);
}

TEST(ProtectedHandler, StandardExceptionsAreReportedWithTheirText) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kLoginLoad, dialogs);
    EXPECT_FALSE(h.Run(kFirst, [] { throw std::runtime_error("std failure"); }));
    EXPECT_TRUE(h.Run(kSecond, [] {}));
    EXPECT_EQ(dialogs.reports.at(0).description, "std failure");
}

TEST(ProtectedHandler, RunAbortedPassesThroughUnreported) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kMainImport, dialogs);
    EXPECT_THROW(h.Run(kFirst, [] { throw RunAborted{}; }), RunAborted);
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST(ProtectedHandler, SilentHandlerCountsFailuresButShowsNone) {
    RecordingDialogs dialogs;
    ProtectedHandler h(tags::kMainAddFolder, dialogs, ProtectedHandler::Reporting::Silent);
    EXPECT_FALSE(h.Run(kFirst, [] { throw Failure("unreadable"); }));
    EXPECT_TRUE(h.Run(kSecond, [] {}));
    EXPECT_EQ(h.Failures(), 1);
    EXPECT_TRUE(dialogs.reports.empty());
}

}  // namespace
}  // namespace verrolift
