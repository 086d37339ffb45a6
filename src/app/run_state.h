#pragma once

namespace verrolift {

// Whether an import run of the main window is under way. While one is, the commands that
// would open a box of their own or move between the windows do nothing: a modal box would
// hold the run up, and the other window's commands would change what the run works on.
class RunState {
public:
    bool UnderWay() const { return underWay_; }

    // Marks a run for as long as it lives; a second claim while one lives claims nothing.
    class Claim {
    public:
        explicit Claim(RunState& state) : state_(state), claimed_(!state.underWay_) {
            state_.underWay_ = true;
        }
        ~Claim() {
            if (claimed_) state_.underWay_ = false;
        }
        Claim(const Claim&) = delete;
        Claim& operator=(const Claim&) = delete;
        bool Claimed() const { return claimed_; }

    private:
        RunState& state_;
        bool claimed_;
    };

private:
    bool underWay_ = false;
};

}  // namespace verrolift
