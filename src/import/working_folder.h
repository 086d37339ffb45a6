#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "import/file_handle.h"

namespace verrolift {

// What the working copy needs of the platform: a folder of this run's own, held until
// dropped, and files in it opened in binary and never through a link. One implementation
// per platform (working_folder_posix.cpp, working_folder_windows.cpp); what is copied and
// in what order stays with the working copy. Calls that give no handle or answer false
// leave the cause in errno, for DescribeErrno.

// The folder of this user's working folders. POSIX: $TMPDIR (default /tmp) followed by
// "/verrolift-<uid>". Windows: "verrolift" in the folder named by TEMP, which is already
// the user's own. Only named here; WorkingFolder::Claim creates and checks it.
std::string PrivateWorkingFolder();

class WorkingFolder {
public:
    // The first numbered folder from 1 to maxClaims in PrivateWorkingFolder() that no
    // other claim holds, created when missing, and held (locked) until this is dropped or
    // the program ends. A free number is reused, so the folders do not pile up. POSIX:
    // every folder on the way has mode 0700 and is refused when it is a link, belongs to
    // another user or is open to group or others; the hold is a flock on the folder.
    // Windows: the hold is a lock file in the folder opened for this process alone.
    // Throws Failure when no safe folder can be had.
    static WorkingFolder Claim(int maxClaims);

    WorkingFolder(WorkingFolder&&) noexcept = default;
    WorkingFolder& operator=(WorkingFolder&&) noexcept = default;

    const std::string& Path() const { return path_; }
    // Path() and a file name, joined by the platform's separator.
    std::string PathOf(const char* name) const;

    enum class Access {
        Read,              // an existing file
        Write,             // an existing file, not truncated
        CreateNew,         // for writing; fails when the name exists
        CreateOrTruncate,  // for writing, emptied when it exists
    };
    // Opens the file `name` of the folder in binary; never follows a link planted as it.
    FileHandle Open(const char* name, Access access) const;

    // Removes the file `name`; false when it could not (ENOENT when it was not there).
    bool Remove(const char* name) const;

    // Puts the file `from` in the place of the file `to`.
    bool Replace(const char* from, const char* to) const;

private:
    WorkingFolder(FileHandle hold, std::string path)
        : hold_(std::move(hold)), path_(std::move(path)) {}

    FileHandle hold_;  // POSIX: the folder itself, locked; Windows: its lock file
    std::string path_;
};

// Opens a file of the user's for reading, in binary. Only an existing regular file is
// taken: with anything else in its place (a folder, a FIFO, a device) the handle is closed
// and notRegular set; a FIFO never blocks the open.
FileHandle OpenRegularFile(const std::string& path, bool& notRegular);

// Creates a new file of the user's for writing, in binary; fails (EEXIST) when the name
// is taken, so that nothing already there is ever overwritten.
FileHandle CreateNewFile(const std::string& path);

// Empties an open file; false when it could not.
bool EmptyFile(const FileHandle& file);

// What tells that a file's content changed: its size and its last modification time.
struct FileStamp {
    std::uint64_t size;
    std::int64_t modified;  // in the platform's finest unit
    bool operator==(const FileStamp&) const = default;
};

// The stamp of an open file; none when the system cannot tell it.
std::optional<FileStamp> StampOf(const FileHandle& file);

// Moves the read position of an open file to offset from its start; false when it could not.
bool SeekTo(const FileHandle& file, std::uint64_t offset);

// Tells the system the file will be read from start to end, where it can be told.
void AdviseSequentialRead(const FileHandle& file);

// A stretch of bytes to write.
struct WritePiece {
    const char* data;
    std::size_t size;
};

// Writes the pieces in order, as far as one write call of the platform goes: the number
// of bytes written, or -1 (errno set). Interrupted calls are retried.
long long WritePieces(const FileHandle& file, const WritePiece* pieces, int count);

}  // namespace verrolift
