#pragma once

#include <stdexcept>
#include <string>

namespace verrolift {

// A run-time failure with the description that the error report shows.
// Descriptions are bytes (driver or system text), never re-encoded.
class Failure : public std::runtime_error {
public:
    explicit Failure(std::string description)
        : std::runtime_error(description), description_(std::move(description)) {}
    const std::string& Description() const noexcept { return description_; }

private:
    std::string description_;
};

// Thrown out of a yield when the program is closing: the command that yielded
// stops at once, reports nothing more and releases what it holds.
// Deliberately not a std::exception, so no protected handler can swallow it.
struct RunAborted {};

}  // namespace verrolift
