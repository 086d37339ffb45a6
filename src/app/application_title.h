#pragma once

#include <string>
#include <string_view>

namespace verrolift {

// The caption of the windows and of every box that names none of its own: the product
// name, cut at its last blank while longer than 40 characters.
std::string TitleFromProductName(std::string_view productName);

}  // namespace verrolift
