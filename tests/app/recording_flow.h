#pragma once

#include <string>
#include <vector>

#include "app/window_flow.h"

namespace verrolift::test {

// Records the moves between windows that a window asks for.
class RecordingFlow : public WindowFlow {
public:
    void ShowMainWindow() override { calls.push_back("show main"); }
    void HideMainWindow() override { calls.push_back("hide main"); }
    void RunMainWindowLoad() override { calls.push_back("load main"); }
    void ShowLoginWindow() override { calls.push_back("show login"); }
    void HideLoginWindow() override { calls.push_back("hide login"); }
    void EndProgram() override { calls.push_back("end"); }
    bool Ending() const override { return false; }
    std::vector<std::string> calls;
};

}  // namespace verrolift::test
