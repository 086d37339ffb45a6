#pragma once

#include <cstdint>

namespace verrolift::add_folder_steps {

// Statement numbers of the folder command, in source order. Numbers left out
// belong to statements that cannot fail.
inline constexpr std::int32_t kAskExtension = 100;
inline constexpr std::int32_t kSaveExtension = 104;
inline constexpr std::int32_t kPickFolder = 106;
inline constexpr std::int32_t kSaveFolder = 334;
inline constexpr std::int32_t kBusyPointer = 114;

// Gathering the files of the tree.
inline constexpr std::int32_t kSubfolders = 118;
inline constexpr std::int32_t kListFiles = 124;
inline constexpr std::int32_t kAddFiles = 134;

inline constexpr std::int32_t kDefaultPointer = 138;

}  // namespace verrolift::add_folder_steps
