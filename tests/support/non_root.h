#pragma once

#include <functional>
#include <string>

namespace verrolift::test {

// Makes this process "nobody" when it is root; what went wrong, or "" when it is not root
// now. For a child process just forked: root cannot be had back.
std::string BecomeNonRoot();

// Runs check in a child process that is not root (root reads every folder, so a
// test of a folder that may not be read runs as "nobody" when the tests run as
// root) and returns what check gave: empty when all was as expected, otherwise
// what went wrong, including failing to drop root.
std::string RunAsNonRoot(const std::function<std::string()>& check);

}  // namespace verrolift::test
