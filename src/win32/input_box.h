#pragma once

#include <string>

#include "base/windows_api.h"

namespace verrolift::win32 {

// The controls of the input box besides OK (IDOK) and Cancel (IDCANCEL).
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxAnswerId = 101;

// A modal box over owner (may be null) under caption: the prompt, a text box holding
// defaultAnswer selected, OK and Cancel. The answer as typed when OK is pressed; ""
// when cancelled or closed. Throws Failure when the box cannot be shown.
std::string AskInInputBox(HWND owner, const std::string& caption, const std::string& prompt,
                          const std::string& defaultAnswer);

}  // namespace verrolift::win32
