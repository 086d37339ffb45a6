#include "files/folder_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>
#include <unordered_set>
#include <utility>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/paths.h"
#include "base/protected_handler.h"
#include "files/file_attributes.h"
#include "files/wildcard.h"

namespace verrolift {

namespace {

// A failure of the platform while a folder is examined, with the run-time
// error number the scan decides on.
class ScanFailure : public Failure {
public:
    ScanFailure(int errorNumber, std::string description)
        : Failure(std::move(description)), errorNumber_(errorNumber) {}
    int ErrorNumber() const { return errorNumber_; }

private:
    int errorNumber_;
};

[[noreturn]] void ThrowErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            throw ScanFailure(kErrorPermissionDenied, "Permission denied");
        case ENOENT:
        case ENOTDIR:
            throw ScanFailure(kErrorPathNotFound, "Path not found");
        default:
            throw ScanFailure(0, std::strerror(error));
    }
}

struct FolderId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const noexcept {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(id.inode) *
                                                   1000003u ^
                                               static_cast<unsigned long long>(id.device));
    }
};

// One entry of a folder list together with what the scan already learnt
// about it, so that no path is examined twice without need.
struct Folder {
    std::string path;
    std::optional<unsigned> attributes;  // known when found as a subfolder
    std::optional<FolderId> id;          // known when found as a subfolder or opened
    bool opened = false;                 // opened as a folder at its own level
};

struct ScanContext {
    EventPump& pump;
    Dialogs& dialogs;
    // Every folder taken into this scan: a folder is never scanned twice.
    std::unordered_set<FolderId, FolderIdHash> seen;
};

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

class Dir {
public:
    explicit Dir(DIR* dir) : dir_(dir) {}
    ~Dir() {
        if (dir_) ::closedir(dir_);
    }
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;
    DIR* Get() const { return dir_; }

private:
    DIR* dir_;
};

bool IsRootFolder(std::string_view path) {
    return !path.empty() && path.find_first_not_of(kPathSeparator) == std::string_view::npos;
}

// Hidden + system + directory, with or without reparse point: such a folder
// is neither entered nor added. System is never set on POSIX, so in practice
// nothing is skipped here, but the rule stays in one place.
bool IsSkippedFolder(std::string_view path, unsigned attributes) {
    if (IsRootFolder(path)) return false;
    constexpr unsigned kSkipped =
        attributes::kHidden | attributes::kSystem | attributes::kDirectory;
    return attributes == kSkipped || attributes == (kSkipped | attributes::kReparsePoint);
}

// O_DIRECTORY refuses anything but a folder before opening it, so a FIFO
// never blocks here; O_NONBLOCK is a second guard.
int OpenFolder(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
}

struct Subfolder {
    std::string name;
    FolderId id;
    unsigned attributes = 0;
};

// Decides from one directory entry whether it is a folder (a link counts by
// its target), asking the file system only when the entry type does not say.
std::optional<Subfolder> ExamineEntry(int dirFd, dev_t parentDevice, const dirent& entry) {
    const unsigned char type = entry.d_type;
    if (type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) return std::nullopt;
    const std::string_view name(entry.d_name);
    if (name == "." || name == "..") return std::nullopt;
    struct stat st {};
    FileFacts facts;
    Subfolder sub{entry.d_name, {}, 0};
    if (::fstatat(dirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        // A folder that may be read but not searched still names its
        // subfolders; they are known by entry type and inode only.
        if (type != DT_DIR) return std::nullopt;
        facts.targetKnown = true;
        facts.directory = true;
        facts.ownerWritable = true;
        sub.id = FolderId{parentDevice, entry.d_ino};
        sub.attributes = AttributesFromFacts(sub.name, facts);
        return sub;
    }
    if (S_ISLNK(st.st_mode)) {
        facts.link = true;
        if (::fstatat(dirFd, entry.d_name, &st, 0) != 0) return std::nullopt;  // dangling
    }
    if (!S_ISDIR(st.st_mode)) return std::nullopt;
    facts.targetKnown = true;
    facts.directory = true;
    facts.ownerWritable = (st.st_mode & S_IWUSR) != 0;
    sub.id = FolderId{st.st_dev, st.st_ino};
    sub.attributes = AttributesFromFacts(sub.name, facts);
    return sub;
}

// The subfolders of an open folder, in byte order of their names. Takes
// over `fd`. Throws ScanFailure when the listing fails.
std::vector<Subfolder> ListSubfolders(Fd& fd, dev_t device) {
    Dir dir(::fdopendir(fd.Get()));
    if (!dir.Get()) ThrowErrno(errno);
    fd.Release();
    std::vector<Subfolder> subfolders;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.Get());
        if (!entry) {
            if (errno != 0) ThrowErrno(errno);
            break;
        }
        if (auto sub = ExamineEntry(::dirfd(dir.Get()), device, *entry))
            subfolders.push_back(std::move(*sub));
    }
    std::sort(subfolders.begin(), subfolders.end(),
              [](const Subfolder& a, const Subfolder& b) { return a.name < b.name; });
    return subfolders;
}

void Scan(std::vector<Folder>& folders, bool recurse, ScanContext& context) {
    ProtectedHandler handler(tags::kFolderScan, context.dialogs);
    std::vector<Folder> newFolders;  // 104
    // On from the first subfolder listing to the end of the loop: a failure
    // then ends the work on the current folder without a report.
    bool guard = false;
    std::vector<std::string> gone;  // folders found denied or vanished

    const std::size_t count = folders.size();  // 106: the entries the list had at the start
    for (std::size_t i = 0; i < count; ++i) {
        Folder& v = folders[i];
        // 110 before 108: both only skip, and the length needs no file system.
        if (CharacterCount(v.path) >= kMaxPathChars) continue;

        // 108/112: opening the folder answers IsFolder and gets the folder
        // in one step; only a failed open needs the separate question.
        Fd fd(OpenFolder(v.path));
        const int openError = fd.Get() < 0 ? errno : 0;
        if (fd.Get() < 0 && !IsFolder(v.path)) continue;

        bool abandoned = false;
        // A statement of the loop: reported while the guard is off; while it
        // is on, ends the work on v and drops v when it is denied or gone.
        auto step = [&](std::int32_t number, auto&& statement) {
            if (!guard) return handler.Run(number, statement);
            try {
                statement();
                return true;
            } catch (const ScanFailure& failure) {
                if (failure.ErrorNumber() == kErrorPermissionDenied ||
                    failure.ErrorNumber() == kErrorPathNotFound)
                    gone.push_back(v.path);
            } catch (const Failure&) {
            } catch (const std::exception&) {
            }
            abandoned = true;
            return false;
        };

        step(112, [&] {
            if (fd.Get() < 0) return;
            v.opened = true;
            if (!v.id) {
                struct stat st {};
                if (::fstat(fd.Get(), &st) != 0) ThrowErrno(errno);
                v.id = FolderId{st.st_dev, st.st_ino};
            }
            context.seen.insert(*v.id);
        });
        if (abandoned) continue;
        context.pump.Yield();  // 114
        bool skipped = false;
        step(116, [&] {
            if (!v.attributes) v.attributes = FileAttributes(v.path);
            skipped = IsSkippedFolder(v.path, *v.attributes);
        });
        if (abandoned) continue;
        if (skipped) continue;

        guard = true;  // 118
        std::vector<Subfolder> subfolders;
        step(118, [&] {
            if (fd.Get() < 0) ThrowErrno(openError);
            subfolders = ListSubfolders(fd, v.id ? v.id->device : 0);
        });
        if (abandoned) continue;
        for (auto& sub : subfolders) {
            context.pump.Yield();  // 120
            // 122 to 130: the name, and 132/134: appended unless already scanned.
            if (!IsUsableSubfolderName(sub.name)) continue;
            if (!context.seen.insert(sub.id).second) continue;
            Folder found;
            found.path.reserve(v.path.size() + sub.name.size() + 1);
            found.path.append(v.path).append(sub.name).push_back(kPathSeparator);
            found.attributes = sub.attributes;
            found.id = sub.id;
            newFolders.push_back(std::move(found));
        }
    }
    for (const auto& path : gone) {
        auto it = std::find_if(folders.begin(), folders.end(),
                               [&](const Folder& f) { return f.path == path; });
        if (it != folders.end()) folders.erase(it);
    }

    // 150: the deeper levels extend newFolders in place.
    if (recurse && !newFolders.empty()) Scan(newFolders, true, context);

    for (auto& w : newFolders) {  // 152
        // 154: a folder opened at its own level is known to be one.
        if (!handler.Test(154, [&] { return w.opened || IsFolder(w.path); })) continue;
        context.pump.Yield();  // 156
        if (handler.Test(158, [&] {
                if (!w.attributes) w.attributes = FileAttributes(w.path);
                return !IsSkippedFolder(w.path, *w.attributes);
            }))
            handler.Run(160, [&] { folders.push_back(std::move(w)); });
    }
}

bool IsAsciiText(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

void GetSubDirectories2016(std::vector<std::string>& folders, bool recurse, EventPump& pump,
                           Dialogs& dialogs) {
    std::vector<Folder> list;
    list.reserve(folders.size());
    for (auto& path : folders) list.push_back(Folder{path, std::nullopt, std::nullopt, false});
    ScanContext context{pump, dialogs, {}};
    Scan(list, recurse, context);
    folders.clear();
    folders.reserve(list.size());
    for (auto& folder : list) folders.push_back(std::move(folder.path));
}

std::vector<std::string> ListFilesInFolder(const std::string& folder, std::string_view pattern) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != kPathSeparator) prefix.push_back(kPathSeparator);

    std::vector<std::string> names;
    const WildcardPattern wildcard(pattern);
    Fd fd(OpenFolder(prefix));
    if (fd.Get() >= 0) {
        Dir dir(::fdopendir(fd.Get()));
        if (dir.Get()) {
            fd.Release();
            for (;;) {
                errno = 0;
                const dirent* entry = ::readdir(dir.Get());
                if (!entry) {
                    if (errno != 0) throw Failure(std::strerror(errno));
                    break;
                }
                const std::string_view name(entry->d_name);
                const unsigned char type = entry->d_type;
                if (type == DT_DIR || name == "." || name == "..") continue;
                if (name.find_first_of("*?") != std::string_view::npos) continue;
                if (!wildcard.Matches(name)) continue;
                // A regular file needs no further question; a link or an
                // entry of unknown type is asked without opening it.
                if (type != DT_REG) {
                    if (type != DT_LNK && type != DT_UNKNOWN) continue;
                    struct stat st {};
                    if (::fstatat(::dirfd(dir.Get()), entry->d_name, &st, 0) != 0 ||
                        !S_ISREG(st.st_mode))
                        continue;
                }
                names.emplace_back(name);
            }
        }
    }
    std::sort(names.begin(), names.end());

    // Positions 1 to n, position 0 empty. Room for 100 names at first and
    // 50 more each time it runs out, as the callers were written for.
    std::vector<std::string> result;
    result.reserve(101);
    result.emplace_back();
    for (auto& name : names) {
        if (result.size() == result.capacity()) result.reserve(result.size() + 50);
        result.push_back(std::move(name));
    }
    result.shrink_to_fit();
    return result;
}

std::size_t CharacterCount(std::string_view text) {
    if (IsAsciiText(text)) return text.size();
    std::size_t count = 0;
    std::mbstate_t state{};
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t used = std::mbrlen(text.data() + i, text.size() - i, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
            used == 0) {
            state = std::mbstate_t{};
            ++i;
        } else {
            i += used;
        }
        ++count;
    }
    return count;
}

bool HasUnusableChars(std::string_view name) {
    std::mbstate_t state{};
    std::size_t i = 0;
    while (i < name.size()) {
        const unsigned char byte = static_cast<unsigned char>(name[i]);
        std::uint32_t code = byte;
        if (byte < 0x80) {
            ++i;
        } else {
            wchar_t wide = 0;
            const std::size_t used = std::mbrtowc(&wide, name.data() + i, name.size() - i, &state);
            if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
                used == 0)
                return true;  // not a character of the locale
            code = static_cast<std::uint32_t>(wide);
            i += used;
        }
        if (code < 32 || (code >= 127 && code <= 159) || code == '?') return true;
    }
    return false;
}

bool IsUsableSubfolderName(std::string_view name) {
    return CharacterCount(name) < kMaxPathChars && !HasUnusableChars(name) &&
           name.find('?') == std::string_view::npos && name != "." && name != "..";
}

}  // namespace verrolift
