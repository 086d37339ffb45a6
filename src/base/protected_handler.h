#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/dialogs.h"
#include "base/failure.h"

namespace verrolift {

// A command whose numbered statements each report their own failure and let
// the command go on with the next statement.
//
//   ProtectedHandler h(tags::kMainLoad, dialogs);
//   h.Run(steps::kFaceColor, [&] { ApplyFaceColor(); });
//   if (h.Test(steps::kPointerFileTest, [&] { return FileExists(p); }))
//       h.Run(steps::kLoadPointer, [&] { LoadPointer(p); });
//
// RunAborted passes through untouched: a closing program reports nothing more.
// A silent handler counts its failures but shows none (a drop has no report of its own).
class ProtectedHandler {
public:
    enum class Reporting { Shown, Silent };

    ProtectedHandler(std::string_view tag, Dialogs& dialogs, Reporting reporting = Reporting::Shown)
        : tag_(tag), dialogs_(dialogs), reporting_(reporting) {}

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

    // Runs one statement as Run does and keeps a failure of type Caught that it
    // reported, for a caller that must tell what kind of failure it was (a refused
    // login, a lost connection).
    template <class Caught, class Statement>
    bool Run(std::int32_t step, Statement&& statement, std::optional<Caught>& caught) {
        caught.reset();
        return Run(step, [&] {
            try {
                std::forward<Statement>(statement)();
            } catch (const Caught& failure) {
                caught = failure;
                throw;
            }
        });
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
        if (reporting_ == Reporting::Shown)
            dialogs_.ShowErrorReport(ErrorReport{std::string(tag_), step, std::move(description)});
    }

    int Failures() const { return failures_; }

private:
    std::string_view tag_;
    Dialogs& dialogs_;
    Reporting reporting_;
    int failures_ = 0;
};

}  // namespace verrolift
