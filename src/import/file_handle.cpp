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

}  // namespace verrolift
