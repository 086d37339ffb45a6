#pragma once

#include <exception>
#include <utility>

#include "base/failure.h"

namespace verrolift {

// Every event handler of a window that runs a command goes through here: nothing may
// unwind through a toolkit's event dispatch. A closing program (RunAborted) simply stops the
// command; the commands report their own failures, so anything still arriving
// here has nowhere left to go and is dropped.
template <class Command>
void RunGuarded(Command&& command) noexcept {
    try {
        std::forward<Command>(command)();
    } catch (const RunAborted&) {
    } catch (const std::exception&) {
    }
}

}  // namespace verrolift
