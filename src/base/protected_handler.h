#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "base/dialogs.h"
#include "base/failure.h"

namespace verrolift {

// A command whose numbered statements each report their own failure and let
// the command go on with the next statement.
//
//   ProtectedHandler h(tags::kForm2Load, dialogs);
//   h.Run(100, [&] { ApplyFaceColor(); });
//   if (h.Test(110, [&] { return FileExists(p); })) h.Run(112, [&] { LoadPointer(p); });
//
// RunAborted passes through untouched: a closing program reports nothing more.
class ProtectedHandler {
public:
    ProtectedHandler(std::string_view tag, Dialogs& dialogs) : tag_(tag), dialogs_(dialogs) {}

    // Runs one statement. True when it completed; false after its failure was reported.
    template <class Statement>
    bool Run(std::int32_t step, Statement&& statement) {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (const Failure& failure) {
            Report(step, failure.Description());
        } catch (const std::exception& e) {
            Report(step, e.what());
        }
        return false;
    }

    // Evaluates a condition; a condition whose evaluation fails counts as true.
    template <class Condition>
    bool Test(std::int32_t step, Condition&& condition) {
        bool result = true;
        Run(step, [&] { result = std::forward<Condition>(condition)(); });
        return result;
    }

    void Report(std::int32_t step, std::string description) {
        ++failures_;
        dialogs_.ShowErrorReport(ErrorReport{std::string(tag_), step, std::move(description)});
    }

    int Failures() const { return failures_; }
    Dialogs& GetDialogs() { return dialogs_; }

private:
    std::string_view tag_;
    Dialogs& dialogs_;
    int failures_ = 0;
};

}  // namespace verrolift
