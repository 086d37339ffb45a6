#include "import/file_handle.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/failure.h"

namespace verrolift {

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

int FileHandle::Release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileHandle::Close(std::string_view what) {
    if (fd_ < 0) return;
    const int fd = Release();
    // The descriptor is gone whatever close answers; EINTR must not lead to a second close.
    if (::close(fd) != 0 && errno != EINTR) throw Failure(DescribeErrno(what));
}

std::string ErrnoText(int error) {
    char buffer[256];
    // The GNU variant may return a static text instead of filling the buffer.
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
    return ::strerror_r(error, buffer, sizeof buffer);
#elif defined(_WIN32)
    if (::strerror_s(buffer, sizeof buffer, error) != 0) return "error " + std::to_string(error);
    return buffer;
#else
    if (::strerror_r(error, buffer, sizeof buffer) != 0) return "error " + std::to_string(error);
    return buffer;
#endif
}

std::string DescribeErrno(std::string_view what) {
    const int error = errno;
    std::string text(what);
    text += ": ";
    text += ErrnoText(error);
    return text;
}

std::size_t ReadSome(int fd, char* data, std::size_t size, std::string_view what) {
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw Failure(DescribeErrno(what));
    }
}

void WriteAll(int fd, const char* data, std::size_t size, std::string_view what) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Failure(DescribeErrno(what));
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

BufferedWriter::BufferedWriter(int fd, std::string what)
    : fd_(fd), what_(std::move(what)), buffer_(new char[kBufferSize]) {}

void BufferedWriter::Append(std::string_view bytes) {
    if (bytes.size() > kBufferSize - used_) {
        Flush();
        // A line longer than the buffer goes out directly instead of being split.
        if (bytes.size() >= kBufferSize) {
            WriteAll(fd_, bytes.data(), bytes.size(), what_);
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void BufferedWriter::Flush() {
    if (used_ == 0) return;
    const std::size_t n = used_;
    used_ = 0;
    WriteAll(fd_, buffer_.get(), n, what_);
}

}  // namespace verrolift
