#pragma once

#include <optional>
#include <string_view>

namespace verrolift {

// How the lines of one file end, decided by the file's first line end.
//
// CrOrCrLf: a line ends at CR or CR LF; a lone LF is an ordinary character
// (exports that end records with CR LF keep LF inside cells as text).
// Lf: a line ends at LF, a CR directly before it belonging to the line end; a
// lone CR is an ordinary character (the line ends of most files on most systems).
//
// A file with no line end at all is one line in either mode; CrOrCrLf is then
// kept, as for a file whose first line end has not been seen yet.
enum class LineEndMode { CrOrCrLf, Lf };

// The mode that the first CR or LF of bytes decides, or none when bytes hold
// neither: the caller then looks further into the file.
std::optional<LineEndMode> DecideLineEndMode(std::string_view bytes);

}  // namespace verrolift
