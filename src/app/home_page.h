#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace verrolift {

// The maker's home page, under a domain reserved for examples.
inline constexpr std::string_view kHomePageAddress = "https://www.verrolift.example/";

// A fraction r with 0 <= r < 1.
using RandomFraction = std::function<double()>;
// Hands an address to the desktop's URL handler without waiting; false when it could not.
using UrlOpener = std::function<bool(const std::string& address)>;

// The draw n = floor(r * 100) + 1, in 1..100.
int HomePageDraw(double r);

// On a draw of exactly 7 the home page opens; otherwise nothing happens.
// Throws Failure when the URL handler refuses the address.
void VisitHomePageAtRandom(const RandomFraction& random, const UrlOpener& open);

}  // namespace verrolift
