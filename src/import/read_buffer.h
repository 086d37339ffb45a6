#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace verrolift {

// The bytes of an open file that a reader holds: those from Begin() to End()
// are read and not yet used. A reader scans them in place, moves Begin() past
// what it used, and asks for more when what it holds cannot tell; the unread
// tail then moves to the front, and the buffer grows only when that tail fills
// it (a line or record longer than the buffer).
class ReadBuffer {
public:
    // Reads fd; what names the file in failure descriptions. Holds size bytes, at least 2.
    ReadBuffer(int fd, std::string what, std::size_t size);
    // Holds text, the whole of a file: nothing is left to read.
    explicit ReadBuffer(std::string_view text);

    // Valid until the next ReadMore(); positions count from here.
    const char* Data() const noexcept { return data_.get(); }
    std::size_t Begin() const noexcept { return begin_; }
    std::size_t End() const noexcept { return end_; }
    // Whether the end of the file was read: no byte is left beyond End().
    bool Eof() const noexcept { return eof_; }
    std::size_t Capacity() const noexcept { return capacity_; }
    // The file offset of Data()[0], counted from where reading began.
    std::uint64_t Offset() const noexcept { return offset_; }

    // The bytes before begin are used. begin is at most End().
    void SetBegin(std::size_t begin) noexcept { begin_ = begin; }

    // True when no byte is left; when every byte held is used, reads on until one is.
    // Read failures throw Failure.
    bool AtEnd() { return begin_ == end_ && ReadAfterAllUsed(); }

    // Keeps the unread bytes, moved to the front (Begin() becomes 0), and reads once
    // after them: End() grows, or Eof() holds. Call only while Eof() does not hold.
    // Read failures throw Failure.
    void ReadMore();

    // The unread bytes, handed over and forgotten: valid until the next read.
    std::string_view TakeUnread() noexcept;

private:
    bool ReadAfterAllUsed();
    void Fill();

    int fd_ = -1;
    std::string what_;
    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    std::uint64_t offset_ = 0;
};

}  // namespace verrolift
