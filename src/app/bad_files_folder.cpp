#include "app/bad_files_folder.h"

#include <ctime>

namespace verrolift {

std::string RunStamp() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    // The window's one thread is the only caller.
    if (std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", std::localtime(&now)) == 0)
        return "run";
    return text;
}

}  // namespace verrolift
