#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace verrolift {

// An owned file descriptor (on Windows one of the C run-time), closed when dropped.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : fd_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Get() const noexcept { return fd_; }
    bool IsOpen() const noexcept { return fd_ >= 0; }
    int Release() noexcept;

    // Closes and reports a failing close: for files written, a late write error shows here.
    void Close(std::string_view what);

private:
    int fd_ = -1;
};

// The system's text for an errno value.
std::string ErrnoText(int error);

// "<what>: <system text>" for the current errno.
std::string DescribeErrno(std::string_view what);

// One read of at most size bytes, retried on interruption; 0 at end of file.
// A failure throws Failure("<what>: <system text>").
std::size_t ReadSome(int fd, char* data, std::size_t size, std::string_view what);

}  // namespace verrolift
