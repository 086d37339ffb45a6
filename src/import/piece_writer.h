#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "import/file_handle.h"
#include "import/prepared_lines.h"
#include "import/utf8_check.h"
#include "import/working_folder.h"

namespace verrolift {

// Writes the working copy as pieces: stretches of a buffer just read, which is
// what most of it is, and the few bytes a pass adds. Touching stretches join,
// so a buffer of CR LF lines goes out in one write, as in a plain copy.
// Failures throw WorkingCopyError with the given stage.
class PieceWriter {
public:
    PieceWriter(const FileHandle& file, std::string what, WorkingCopyError::Stage stage)
        : file_(file), what_(std::move(what)), stage_(stage) {}

    // The bytes must stay as they are until the next Flush.
    void Add(const char* data, std::size_t size) {
        if (size == 0) return;
        if (count_ > 0) {
            WritePiece& last = pieces_[count_ - 1];
            if (last.data + last.size == data) {
                last.size += size;
                return;
            }
        }
        if (count_ == kMaxPieces) Flush();
        pieces_[count_++] = WritePiece{data, size};
    }
    void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }

    // Writes every piece added.
    void Flush();

    // From now on every byte is checked as it goes out: a byte that is not UTF-8 stops
    // the write with NotUtf8 before anything of its piece is written.
    void CheckUtf8(Utf8Check* check) { check_ = check; }

    const std::string& What() const { return what_; }
    WorkingCopyError::Stage Stage() const { return stage_; }

private:
    static constexpr int kMaxPieces = 512;
    // At most this much per write, as cp's in-kernel copy does. The file system sizes
    // the page cache blocks it takes by each write, and larger writes made writing a
    // large copy markedly slower and less steady.
    static constexpr std::size_t kMaxWrite = std::size_t{64} << 10;

    const FileHandle& file_;
    std::string what_;
    WorkingCopyError::Stage stage_;
    WritePiece pieces_[kMaxPieces];
    int count_ = 0;
    Utf8Check* check_ = nullptr;
};

// Thrown by a checking PieceWriter: the file is not UTF-8, and must be read again in
// another encoding.
struct NotUtf8 {};

}  // namespace verrolift
