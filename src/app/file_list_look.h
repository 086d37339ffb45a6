#pragma once

namespace verrolift {

// The main window's file list in every toolkit: its one column, the hint over it and the
// pointer file an entry is dragged with.
inline constexpr const char* kFileListHeader = "Text Files";
inline constexpr int kFileListColumnTwips = 5000;
inline constexpr const char* kFileListHint =
    "Drag and drop files here. Double-click item to remove it. Move | line to right and out of "
    "window to reveal full names.";
inline constexpr const char* kDragPointerFile = "drag.ico";

}  // namespace verrolift
