#pragma once

#include <string>

namespace verrolift {

// The separator box and the separator it stands for. Tab moves the keyboard focus and a
// TAB in a box cannot be seen, so the box writes a TAB as the two characters \t.

// The separator that the box's text stands for: every \t is a TAB, all else as typed.
std::string SeparatorOfBoxText(const std::string& boxText);

// The box's text for a separator, or for a text put into the box: every TAB shown as \t.
std::string BoxTextOfSeparator(const std::string& separator);

}  // namespace verrolift
