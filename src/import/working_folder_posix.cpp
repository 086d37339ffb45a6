// The working folder and its files on POSIX.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/failure.h"
#include "base/paths.h"
#include "import/working_folder.h"

namespace verrolift {

namespace {

// Opens, creating it when missing, a folder that only this user can enter.
FileHandle OpenPrivateFolder(int parent, const std::string& name, const std::string& shown) {
    if (::mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST)
        throw Failure(DescribeErrno("Cannot create the working folder " + shown));
    FileHandle folder(
        ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.IsOpen()) {
        if (errno == ELOOP || errno == ENOTDIR)
            throw Failure("The working folder " + shown +
                          " is a link or a file, not a folder of its own, and is not used.");
        throw Failure(DescribeErrno("Cannot open the working folder " + shown));
    }
    struct stat st {};
    if (::fstat(folder.Get(), &st) != 0)
        throw Failure(DescribeErrno("Cannot examine the working folder " + shown));
    if (st.st_uid != ::geteuid())
        throw Failure("The working folder " + shown + " belongs to another user and is not used.");
    if ((st.st_mode & 077) != 0)
        throw Failure("The working folder " + shown +
                      " can be entered by other users and is not used.");
    return folder;
}

int OpenFlags(WorkingFolder::Access access) {
    constexpr int kAlways = O_NOFOLLOW | O_CLOEXEC;
    switch (access) {
        case WorkingFolder::Access::Read:
            return O_RDONLY | kAlways;
        case WorkingFolder::Access::Write:
            return O_WRONLY | kAlways;
        case WorkingFolder::Access::CreateNew:
            return O_WRONLY | O_CREAT | O_EXCL | kAlways;
        case WorkingFolder::Access::CreateOrTruncate:
            return O_WRONLY | O_CREAT | O_TRUNC | kAlways;
    }
    return O_RDONLY | kAlways;
}

}  // namespace

std::string PrivateWorkingFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base != "/") base += '/';
    return base + "verrolift-" + std::to_string(::geteuid());
}

WorkingFolder WorkingFolder::Claim(int maxClaims) {
    const std::string basePath = PrivateWorkingFolder();
    const FileHandle base = OpenPrivateFolder(AT_FDCWD, basePath, basePath);
    for (int number = 1; number <= maxClaims; ++number) {
        const std::string name = std::to_string(number);
        const std::string shown = basePath + "/" + name;
        FileHandle folder = OpenPrivateFolder(base.Get(), name, shown);
        if (::flock(folder.Get(), LOCK_EX | LOCK_NB) == 0)
            return WorkingFolder(std::move(folder), shown);
        if (errno != EWOULDBLOCK)
            throw Failure(DescribeErrno("Cannot lock the working folder " + shown));
    }
    throw Failure("Every working folder in " + basePath + " is in use.");
}

std::string WorkingFolder::PathOf(const char* name) const {
    return path_ + kPathSeparator + name;
}

FileHandle WorkingFolder::Open(const char* name, Access access) const {
    return FileHandle(::openat(hold_.Get(), name, OpenFlags(access), 0600));
}

bool WorkingFolder::Remove(const char* name) const {
    return ::unlinkat(hold_.Get(), name, 0) == 0;
}

bool WorkingFolder::Replace(const char* from, const char* to) const {
    return ::renameat(hold_.Get(), from, hold_.Get(), to) == 0;
}

FileHandle OpenRegularFile(const std::string& path, bool& notRegular) {
    notRegular = false;
    // Non-blocking, so that a FIFO put in the file's place cannot hang the run.
    FileHandle in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!in.IsOpen()) return in;
    struct stat st {};
    if (::fstat(in.Get(), &st) != 0) {
        const int error = errno;
        in = FileHandle();
        errno = error;
        return in;
    }
    if (!S_ISREG(st.st_mode)) {
        notRegular = true;
        return FileHandle();
    }
    ::fcntl(in.Get(), F_SETFL, ::fcntl(in.Get(), F_GETFL) & ~O_NONBLOCK);
    return in;
}

FileHandle CreateNewFile(const std::string& path) {
    return FileHandle(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
}

bool EmptyFile(const FileHandle& file) {
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) return false;
    return st.st_size == 0 || ::ftruncate(file.Get(), 0) == 0;
}

std::optional<FileStamp> StampOf(const FileHandle& file) {
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) return std::nullopt;
    return FileStamp{
        static_cast<std::uint64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool SeekTo(const FileHandle& file, std::uint64_t offset) {
    return ::lseek(file.Get(), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

void AdviseSequentialRead(const FileHandle& file) {
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(file.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
#else
    (void)file;
#endif
}

long long WritePieces(const FileHandle& file, const WritePiece* pieces, int count) {
    constexpr int kMaxBatch = 512;
    iovec batch[kMaxBatch];
    const int used = count < kMaxBatch ? count : kMaxBatch;
    for (int k = 0; k < used; ++k)
        batch[k] = iovec{const_cast<char*>(pieces[k].data), pieces[k].size};
    for (;;) {
        const ssize_t n = ::writev(file.Get(), batch, used);
        if (n >= 0 || errno != EINTR) return n;
    }
}

}  // namespace verrolift
