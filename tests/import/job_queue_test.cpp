#include "import/job_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace verrolift {
namespace {

using std::chrono::milliseconds;

TEST(JobQueue, FilesOfDifferentNamesAreHandedOutInListOrderAtOnce) {
    JobQueue queue({"T1", "T2", std::nullopt, "T4"});
    EXPECT_EQ(queue.Next(), 0u);
    EXPECT_EQ(queue.Next(), 1u);
    EXPECT_EQ(queue.Next(), 2u);
    EXPECT_EQ(queue.Next(), 3u);
    EXPECT_EQ(queue.Next(), std::nullopt);
}

TEST(JobQueue, AFileWaitsForEveryEarlierFileOfTheSameNameInAnyCase) {
    JobQueue queue({"Same", "other", "SAME", "x", "same"});
    EXPECT_EQ(queue.Next(), 0u);
    EXPECT_EQ(queue.Next(), 1u);
    // "SAME" is held back until "Same" is done; later files do not wait for it.
    EXPECT_EQ(queue.Next(), 3u);
    auto held = std::async(std::launch::async, [&] { return queue.Next(); });
    EXPECT_EQ(held.wait_for(milliseconds(50)), std::future_status::timeout);
    queue.Done(0);
    EXPECT_EQ(held.get(), 2u);
    // The last one waits for the third too.
    auto last = std::async(std::launch::async, [&] { return queue.Next(); });
    EXPECT_EQ(last.wait_for(milliseconds(50)), std::future_status::timeout);
    queue.Done(2);
    EXPECT_EQ(last.get(), 4u);
}

TEST(JobQueue, WaitDoneAndStop) {
    JobQueue queue({"a", "a"});
    EXPECT_EQ(queue.Next(), 0u);
    EXPECT_FALSE(queue.WaitDone(0, milliseconds(1)));
    auto held = std::async(std::launch::async, [&] { return queue.Next(); });
    queue.Stop();
    EXPECT_EQ(held.get(), std::nullopt);
    queue.Done(0);
    EXPECT_TRUE(queue.WaitDone(0, milliseconds(1)));
}

}  // namespace
}  // namespace verrolift
