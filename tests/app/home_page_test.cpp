#include <string>

#include <gtest/gtest.h>

#include "app/home_page.h"

namespace verrolift {
namespace {

TEST(HomePage, DrawIsOneToAHundredAndTheAddressIsReserved) {
    EXPECT_EQ(HomePageDraw(0.0), 1);
    EXPECT_EQ(HomePageDraw(0.065), 7);
    EXPECT_EQ(HomePageDraw(0.99999), 100);
    const std::string address(kHomePageAddress);
    EXPECT_EQ(address.substr(0, 8), "https://");
    EXPECT_EQ(address.substr(address.size() - 9), ".example/");
}

}  // namespace
}  // namespace verrolift
