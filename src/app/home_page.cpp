#include "app/home_page.h"

#include <cmath>

#include "base/failure.h"

namespace verrolift {

int HomePageDraw(double r) {
    int n = static_cast<int>(std::floor(r * 100.0)) + 1;
    // A source that strays outside [0, 1) still gives a number in range.
    if (n < 1) n = 1;
    if (n > 100) n = 100;
    return n;
}

void VisitHomePageAtRandom(const RandomFraction& random, const UrlOpener& open) {
    if (HomePageDraw(random()) != 7) return;
    const std::string address(kHomePageAddress);
    if (!open(address)) throw Failure("Cannot open " + address);
}

}  // namespace verrolift
