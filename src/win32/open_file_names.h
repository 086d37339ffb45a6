#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verrolift::win32 {

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" as the file dialog takes it: each
// description and its patterns ended by NUL, the whole ended by one more. A trailing
// description without patterns is dropped; no pairs at all give "".
std::wstring WindowsFileFilter(std::string_view filter);

// The full paths in the file dialog's answer, in its order. names is the answer's
// buffer from its start; firstName the offset of the first file name in it. One file
// comes as its full path; several as the folder, then each name, each ended by NUL.
std::vector<std::string> PickedPaths(std::wstring_view names, std::size_t firstName);

}  // namespace verrolift::win32
