#include "import/working_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

#include "app/paths.h"
#include "import/line_reader.h"

namespace verrolift {

namespace {

constexpr int kMaxClaims = 64;
// The first pass writes the new copy beside the old one and then puts it in its place.
constexpr const char* kNewCopyName = "upload.new";
constexpr std::size_t kCopyBufferSize = std::size_t{1} << 20;

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

// Copies what is left of from into to, in the kernel where the file systems allow it.
void CopyRest(int from, int to, const std::string& what) {
#ifdef __linux__
    // Copy-on-write file systems share the blocks instead of copying them.
    if (::ioctl(to, FICLONE, from) == 0) return;
    bool copiedAny = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, std::size_t{1} << 30, 0);
        if (n > 0) {
            copiedAny = true;
            continue;
        }
        // Some special files report no size and copy nothing here: read them instead.
        if (n == 0 && copiedAny) return;
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
            errno == EPERM || errno == ETXTBSY)
            break;
        throw Failure(DescribeErrno(what));
    }
#endif
    std::unique_ptr<char[]> buffer(new char[kCopyBufferSize]);
    for (;;) {
        const std::size_t n = ReadSome(from, buffer.get(), kCopyBufferSize, what);
        if (n == 0) return;
        WriteAll(to, buffer.get(), n, what);
    }
}

// Copies length bytes of from, starting at offset, to the end of to; from's own offset stays.
void CopyRange(int from, std::uint64_t offset, std::uint64_t length, int to,
               const std::string& what) {
#ifdef __linux__
    auto in = static_cast<off_t>(offset);
    while (length > 0) {
        const ssize_t n = ::copy_file_range(from, &in, to, nullptr, length, 0);
        if (n > 0) {
            length -= static_cast<std::uint64_t>(n);
            continue;
        }
        if (n == 0) throw Failure(what + ": the working copy ended early");
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) break;
        throw Failure(DescribeErrno(what));
    }
    offset = static_cast<std::uint64_t>(in);
#endif
    std::unique_ptr<char[]> buffer(new char[kCopyBufferSize]);
    while (length > 0) {
        const std::size_t want =
            length < kCopyBufferSize ? static_cast<std::size_t>(length) : kCopyBufferSize;
        const ssize_t n = ::pread(from, buffer.get(), want, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw Failure(DescribeErrno(what));
        if (n == 0) throw Failure(what + ": the working copy ended early");
        WriteAll(to, buffer.get(), static_cast<std::size_t>(n), what);
        offset += static_cast<std::uint64_t>(n);
        length -= static_cast<std::uint64_t>(n);
    }
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Copies source into a working copy created afresh in folder. Only an existing
// regular file is copied. Gives why nothing was copied, naming the file, or ""
// when the copy was made; a partial copy is removed. Only a working copy that
// cannot be created throws.
std::string CopyFileGuarded(const std::string& source, int folder, const std::string& target) {
    const std::string named = "The file \"" + source + "\" cannot be read";
    if (Trimmed(source).empty()) return named + ": the list entry is empty.";
    const std::string normalized = NormalizePath(source);
    if (normalized.find_first_of("*?") != std::string::npos)
        return named + ": its name holds a wildcard.";
    // Non-blocking, so that a FIFO put in the file's place cannot hang the run.
    FileHandle in(::open(normalized.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!in.IsOpen()) return DescribeErrno(named);
    struct stat st {};
    if (::fstat(in.Get(), &st) != 0) return DescribeErrno(named);
    if (!S_ISREG(st.st_mode)) return named + ": it is not a regular file.";
    ::fcntl(in.Get(), F_SETFL, ::fcntl(in.Get(), F_GETFL) & ~O_NONBLOCK);

    FileHandle out(::openat(folder, kWorkingCopyName,
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.IsOpen()) throw Failure(DescribeErrno("Cannot create the working copy " + target));
    try {
        CopyRest(in.Get(), out.Get(), named);
        out.Close(named);
    } catch (const Failure& failure) {
        // A partial copy must never be read as the file.
        ::unlinkat(folder, kWorkingCopyName, 0);
        return failure.Description();
    }
    return {};
}

// Yields once, then removes the file; a failure is of no consequence to the caller.
void DeleteFileForced(int folder, const char* name, EventPump& pump) {
    pump.Yield();
    ::unlinkat(folder, name, 0);
}

// The kept lines, each followed by CR LF, written as the new working copy.
//
// Most files need no new text at all: as long as the kept text is one unbroken
// stretch of the copy being read (lines ended by CR LF, perhaps after a dropped
// first line), nothing is written. At the end that stretch is the copy itself,
// or is copied out in one piece by the kernel. Only a line ended otherwise
// switches to writing line by line, through one buffer.
class KeptText {
public:
    KeptText(int folder, int input, const std::string& path)
        : folder_(folder), input_(input), path_(path) {}

    // The first line, left out: the stretch starts after it.
    void DropFirst(std::uint64_t next) { begin_ = end_ = next; }

    void Keep(std::uint64_t start, std::string_view line, LineReader::LineEnd lineEnd,
              std::uint64_t next) {
        kept_ = true;
        if (!writer_) {
            if (start == end_ && lineEnd == LineReader::LineEnd::CrLf) {
                end_ = next;
                return;
            }
            if (start == end_ && lineEnd == LineReader::LineEnd::None) {
                // The last line of the file: only its CR LF is missing.
                end_ = next;
                unterminated_ = true;
                return;
            }
            StartWriting();
        }
        writer_->Append(line);
        writer_->Append("\r\n");
    }

    // Puts the kept text in place of the copy that was read.
    void Finish(EventPump& pump) {
        if (!writer_ && kept_ && begin_ == 0) {
            // The copy already holds the kept text, perhaps short of the last CR LF:
            // nothing to delete, but the window gets its turn all the same.
            pump.Yield();
            if (unterminated_) AppendToCopy("\r\n");
            return;
        }
        if (!writer_) StartWriting();
        if (!kept_ || unterminated_) writer_->Append("\r\n");
        writer_->Flush();
        out_.Close("Cannot write the working copy " + path_);
        // A failed delete does not matter: the rename replaces the old copy anyway.
        DeleteFileForced(folder_, kWorkingCopyName, pump);
        if (::renameat(folder_, kNewCopyName, folder_, kWorkingCopyName) != 0)
            throw Failure(DescribeErrno("Cannot replace the working copy " + path_));
    }

private:
    void StartWriting() {
        out_ = FileHandle(::openat(folder_, kNewCopyName,
                                   O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!out_.IsOpen())
            throw Failure(DescribeErrno("Cannot create the new working copy in " + path_));
        const std::string what = "Cannot write the working copy " + path_;
        if (end_ > begin_) CopyRange(input_, begin_, end_ - begin_, out_.Get(), what);
        if (unterminated_) {
            WriteAll(out_.Get(), "\r\n", 2, what);
            unterminated_ = false;
        }
        writer_.emplace(out_.Get(), what);
    }

    void AppendToCopy(std::string_view bytes) {
        FileHandle out(
            ::openat(folder_, kWorkingCopyName, O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC));
        const std::string what = "Cannot write the working copy " + path_;
        if (!out.IsOpen()) throw Failure(DescribeErrno(what));
        WriteAll(out.Get(), bytes.data(), bytes.size(), what);
        out.Close(what);
    }

    int folder_;
    int input_;
    const std::string& path_;
    std::uint64_t begin_ = 0;
    std::uint64_t end_ = 0;
    bool kept_ = false;
    bool unterminated_ = false;
    FileHandle out_;
    std::optional<BufferedWriter> writer_;
};

}  // namespace

std::string PrivateWorkingFolder() {
#ifdef _WIN32
    // The platform's temporary folder is the user's own: the working copy is TEMP\upload.txt.
    const char* temp = std::getenv("TEMP");
    return temp ? temp : "";
#else
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base != "/") base += '/';
    return base + "verrolift-" + std::to_string(::geteuid());
#endif
}

WorkingCopy::WorkingCopy(FileHandle folder, std::string folderPath)
    : folder_(std::move(folder)),
      folderPath_(std::move(folderPath)),
      path_(folderPath_ + "/" + kWorkingCopyName) {}

WorkingCopy WorkingCopy::Claim() {
    const std::string basePath = PrivateWorkingFolder();
    const FileHandle base = OpenPrivateFolder(AT_FDCWD, basePath, basePath);
    for (int number = 1; number <= kMaxClaims; ++number) {
        const std::string name = std::to_string(number);
        const std::string shown = basePath + "/" + name;
        FileHandle folder = OpenPrivateFolder(base.Get(), name, shown);
        if (::flock(folder.Get(), LOCK_EX | LOCK_NB) == 0)
            return WorkingCopy(std::move(folder), shown);
        if (errno != EWOULDBLOCK)
            throw Failure(DescribeErrno("Cannot lock the working folder " + shown));
    }
    throw Failure("Every working folder in " + basePath + " is in use.");
}

void MakeWorkingCopy(const std::string& path, WorkingCopy& copy) {
    copy.missingReason_.clear();
    const int folder = copy.Folder();
    if (::unlinkat(folder, kWorkingCopyName, 0) != 0 && errno != ENOENT)
        throw Failure(DescribeErrno("Cannot remove the previous working copy " + copy.Path()));
    ::unlinkat(folder, kNewCopyName, 0);  // left by an interrupted first pass

    copy.missingReason_ = CopyFileGuarded(path, folder, copy.Path());
}

FileHandle OpenWorkingCopy(const WorkingCopy& copy) {
    FileHandle in(::openat(copy.Folder(), kWorkingCopyName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.IsOpen()) throw Failure(DescribeErrno("Cannot open the working copy " + copy.Path()));
    return in;
}

PreparedLines PrepareLines(const WorkingCopy& copy, const ImportOptionsSource& options,
                           EventPump& pump) {
    using Stage = WorkingCopyError::Stage;
    FileHandle in(::openat(copy.Folder(), kWorkingCopyName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.IsOpen()) {
        if (errno == ENOENT && !copy.MissingReason().empty())
            throw WorkingCopyError(Stage::Open, copy.MissingReason());
        throw WorkingCopyError(Stage::Open,
                               DescribeErrno("Cannot open the working copy " + copy.Path()));
    }
    PreparedLines result;
    Stage stage = Stage::Read;
    try {
        LineReader reader(in.Get(), "Cannot read the working copy " + copy.Path());
        KeptText kept(copy.Folder(), in.Get(), copy.Path());
        for (;;) {
            stage = Stage::Read;
            if (reader.AtEnd()) break;
            pump.Yield();
            const std::uint64_t start = reader.Position();
            const std::string_view line = reader.Next();
            stage = Stage::Write;
            if (result.lineCount++ == 0) {
                result.firstLine.assign(line);
                if (SkipsFirstLine(options)) {
                    kept.DropFirst(reader.Position());
                    continue;
                }
            }
            ++result.keptLineCount;
            kept.Keep(start, line, reader.LastLineEnd(), reader.Position());
        }
        stage = Stage::Write;
        kept.Finish(pump);
    } catch (const WorkingCopyError&) {
        throw;
    } catch (const Failure& failure) {
        throw WorkingCopyError(stage, failure.Description());
    }
    return result;
}

PreparedLines PrepareFile(WorkingCopy& copy, const std::string& path,
                          const ImportOptionsSource& options, EventPump& pump) {
    MakeWorkingCopy(path, copy);
    return PrepareLines(copy, options, pump);
}

PreparedLines PrepareFile(const std::string& path, const ImportOptionsSource& options,
                          EventPump& pump) {
    WorkingCopy copy = WorkingCopy::Claim();
    return PrepareFile(copy, path, options, pump);
}

}  // namespace verrolift
