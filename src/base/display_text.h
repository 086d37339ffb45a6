#pragma once

#include <string>
#include <string_view>

namespace verrolift {

// `text` as a message shows it: each control byte (below 0x20, and 0x7F) written as \xHH
// (ESC as \x1B), except those in `kept`. A path or a file's text put into a message through
// this can neither split the message's lines nor send a terminal an escape sequence; every
// other byte stays as it is, so an ordinary name reads as before.
std::string ForDisplay(std::string_view text, std::string_view kept = {});

}  // namespace verrolift
