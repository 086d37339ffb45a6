// The working folder and its files on Windows: a numbered folder inside "verrolift" in
// the user's own temporary folder, held by a lock file that this process alone has open.
// Files are opened in binary (in text mode the C run-time would turn CR LF into LF and
// stop at Ctrl-Z) and never through a link.

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "base/failure.h"
#include "base/paths.h"
#include "base/wide_text.h"
#include "base/windows_api.h"
#include "import/working_folder.h"

namespace verrolift {

namespace {

constexpr const char* kLockName = "lock";

// The C run-time's errno for what Windows said, for DescribeErrno.
void SetErrnoFrom(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            errno = ENOENT;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        default:
            errno = EIO;
    }
}

// Creates the folder when missing and refuses what is not a folder of its own: a file,
// or a link or junction that could lead anywhere.
void MakeOwnFolder(const std::string& path) {
    const std::wstring wide = WidePath(path);
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        SetErrnoFrom(GetLastError());
        throw Failure(DescribeErrno("Cannot create the working folder " + path));
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        SetErrnoFrom(GetLastError());
        throw Failure(DescribeErrno("Cannot open the working folder " + path));
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        throw Failure("The working folder " + path +
                      " is a link or a file, not a folder of its own, and is not used.");
}

DWORD Disposition(WorkingFolder::Access access) {
    switch (access) {
        case WorkingFolder::Access::Read:
        case WorkingFolder::Access::Write:
            return OPEN_EXISTING;
        case WorkingFolder::Access::CreateNew:
            return CREATE_NEW;
        case WorkingFolder::Access::CreateOrTruncate:
            return CREATE_ALWAYS;
    }
    return OPEN_EXISTING;
}

}  // namespace

std::string PrivateWorkingFolder() {
    const wchar_t* temp = _wgetenv(L"TEMP");
    std::string base = temp ? Utf8FromWide(temp) : std::string();
    while (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
    return base + "\\verrolift";
}

WorkingFolder WorkingFolder::Claim(int maxClaims) {
    const std::string basePath = PrivateWorkingFolder();
    MakeOwnFolder(basePath);
    for (int number = 1; number <= maxClaims; ++number) {
        const std::string path = basePath + "\\" + std::to_string(number);
        MakeOwnFolder(path);
        const std::wstring lock = WidePath(path + "\\" + kLockName);
        int fd = -1;
        // No sharing: while this process has it open, no other claim opens it.
        if (_wsopen_s(&fd, lock.c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYRW,
                      _S_IREAD | _S_IWRITE) == 0)
            return WorkingFolder(FileHandle(fd), path);
        if (errno != EACCES) throw Failure(DescribeErrno("Cannot lock the working folder " + path));
    }
    throw Failure("Every working folder in " + basePath + " is in use.");
}

std::string WorkingFolder::PathOf(const char* name) const {
    return path_ + kPathSeparator + name;
}

FileHandle WorkingFolder::Open(const char* name, Access access) const {
    const bool reading = access == Access::Read;
    HANDLE handle = CreateFileW(
        WidePath(PathOf(name)).c_str(), reading ? GENERIC_READ : GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, Disposition(access),
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        SetErrnoFrom(GetLastError());
        return FileHandle();
    }
    // Opened as itself: a link planted under the name is refused, not followed.
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        CloseHandle(handle);
        errno = ELOOP;
        return FileHandle();
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                   _O_BINARY | (reading ? _O_RDONLY : _O_WRONLY));
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return FileHandle(fd);
}

bool WorkingFolder::Remove(const char* name) const {
    if (DeleteFileW(WidePath(PathOf(name)).c_str())) return true;
    SetErrnoFrom(GetLastError());
    return false;
}

bool WorkingFolder::Replace(const char* from, const char* to) const {
    if (MoveFileExW(WidePath(PathOf(from)).c_str(), WidePath(PathOf(to)).c_str(),
                    MOVEFILE_REPLACE_EXISTING))
        return true;
    SetErrnoFrom(GetLastError());
    return false;
}

FileHandle OpenRegularFile(const std::string& path, bool& notRegular) {
    notRegular = false;
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        SetErrnoFrom(GetLastError());
        return FileHandle();
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        notRegular = true;
        return FileHandle();
    }
    return FileHandle(_wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
}

FileHandle CreateNewFile(const std::string& path) {
    return FileHandle(_wopen(WidePath(path).c_str(),
                             _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                             _S_IREAD | _S_IWRITE));
}

bool EmptyFile(const FileHandle& file) {
    const errno_t error = _chsize_s(file.Get(), 0);
    if (error == 0) return true;
    errno = error;
    return false;
}

std::optional<FileStamp> StampOf(const FileHandle& file) {
    // The handle's own times: the C run-time's stat keeps whole seconds only.
    BY_HANDLE_FILE_INFORMATION info;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.Get()));
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return FileStamp{(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     static_cast<std::int64_t>(
                         (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                         info.ftLastWriteTime.dwLowDateTime)};
}

bool SeekTo(const FileHandle& file, std::uint64_t offset) {
    return _lseeki64(file.Get(), static_cast<__int64>(offset), SEEK_SET) >= 0;
}

void AdviseSequentialRead(const FileHandle&) {}

long long WritePieces(const FileHandle& file, const WritePiece* pieces, int count) {
    long long total = 0;
    for (int k = 0; k < count; ++k) {
        const int n = _write(file.Get(), pieces[k].data, static_cast<unsigned>(pieces[k].size));
        if (n < 0) return total > 0 ? total : -1;
        total += n;
        if (static_cast<std::size_t>(n) < pieces[k].size) break;
    }
    return total;
}

}  // namespace verrolift
