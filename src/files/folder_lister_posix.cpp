// The folder lister and the attribute query on POSIX.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <utility>

#include "base/paths.h"
#include "files/file_attributes.h"
#include "files/folder_lister.h"

namespace verrolift {

namespace {

ListingFailure FailureOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return ListingFailure(ListingFailure::Cause::Denied, "Permission denied");
        case ENOENT:
        case ENOTDIR:
            return ListingFailure(ListingFailure::Cause::NotFound, "Path not found");
        default:
            return ListingFailure(ListingFailure::Cause::Other, std::strerror(error));
    }
}

FolderIdentity IdentityOf(const struct stat& st) {
    return FolderIdentity{static_cast<std::uint64_t>(st.st_dev),
                          static_cast<std::uint64_t>(st.st_ino)};
}

// Decides from one directory entry whether it is a folder (a link counts by
// its target), asking the file system only when the entry type does not say.
std::optional<SubfolderEntry> ExamineEntry(int dirFd, std::uint64_t parentDevice,
                                           const dirent& entry) {
    const unsigned char type = entry.d_type;
    if (type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) return std::nullopt;
    const std::string_view name(entry.d_name);
    if (name == "." || name == "..") return std::nullopt;
    struct stat st {};
    FileFacts facts;
    SubfolderEntry sub{entry.d_name, 0, {}};
    if (::fstatat(dirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        // A folder that may be read but not searched still names its
        // subfolders; they are known by entry type and inode only.
        if (type != DT_DIR) return std::nullopt;
        facts.targetKnown = true;
        facts.directory = true;
        facts.ownerWritable = true;
        sub.id = FolderIdentity{parentDevice, static_cast<std::uint64_t>(entry.d_ino)};
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
    sub.id = IdentityOf(st);
    sub.attributes = AttributesFromFacts(sub.name, facts);
    return sub;
}

}  // namespace

struct ListedFolder::State {
    DIR* dir = nullptr;
    int openError = 0;
    // The folder's device, once asked: a subfolder that cannot be examined is
    // identified by it and its inode.
    std::optional<std::uint64_t> device;

    DIR* Dir() const {
        if (!dir) throw FailureOf(openError);
        return dir;
    }

    // Calls `each` for every entry; a failing read throws.
    template <class Each>
    void ForEachEntry(Each&& each) const {
        DIR* d = Dir();
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(d);
            if (!entry) {
                if (errno != 0) throw FailureOf(errno);
                return;
            }
            each(*entry);
        }
    }
};

ListedFolder::ListedFolder(const std::string& path) : state_(std::make_unique<State>()) {
    // O_DIRECTORY refuses anything but a folder before opening it, so a FIFO
    // never blocks here; O_NONBLOCK is a second guard.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        state_->openError = errno;
        return;
    }
    state_->dir = ::fdopendir(fd);
    if (!state_->dir) {
        state_->openError = errno;
        ::close(fd);
    }
}

ListedFolder::~ListedFolder() {
    if (state_->dir) ::closedir(state_->dir);
}

bool ListedFolder::IsOpen() const noexcept {
    return state_->dir != nullptr;
}

FolderIdentity ListedFolder::Identity() const {
    struct stat st {};
    if (::fstat(::dirfd(state_->Dir()), &st) != 0) throw FailureOf(errno);
    state_->device = static_cast<std::uint64_t>(st.st_dev);
    return IdentityOf(st);
}

std::vector<SubfolderEntry> ListedFolder::Subfolders() {
    const int fd = ::dirfd(state_->Dir());
    if (!state_->device) {
        struct stat st {};
        state_->device = ::fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_dev) : 0;
    }
    const std::uint64_t device = *state_->device;
    std::vector<SubfolderEntry> subfolders;
    state_->ForEachEntry([&](const dirent& entry) {
        if (auto sub = ExamineEntry(fd, device, entry)) subfolders.push_back(std::move(*sub));
    });
    return subfolders;
}

std::vector<std::string> ListedFolder::Files(
    const std::function<bool(std::string_view name)>& wanted) {
    const int fd = ::dirfd(state_->Dir());
    std::vector<std::string> names;
    state_->ForEachEntry([&](const dirent& entry) {
        const std::string_view name(entry.d_name);
        const unsigned char type = entry.d_type;
        if (type == DT_DIR || name == "." || name == "..") return;
        if (!wanted(name)) return;
        // A regular file needs no further question; a link or an entry of
        // unknown type is asked without opening it.
        if (type != DT_REG) {
            if (type != DT_LNK && type != DT_UNKNOWN) return;
            struct stat st {};
            if (::fstatat(fd, entry.d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) return;
        }
        names.emplace_back(name);
    });
    return names;
}

std::optional<NameCharacter> DecodeNameCharacter(std::string_view bytes, std::mbstate_t& state) {
    wchar_t wide = 0;
    const std::size_t used = std::mbrtowc(&wide, bytes.data(), bytes.size(), &state);
    if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) || used == 0)
        return std::nullopt;
    return NameCharacter{static_cast<char32_t>(wide), used};
}

unsigned FileAttributes(const std::string& path) {
    // The last component decides "hidden"; trailing separators would make
    // lstat follow a link, so they are cut for both purposes.
    std::string_view trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == kPathSeparator) trimmed.remove_suffix(1);
    const std::string own(trimmed);
    const auto cut = trimmed.rfind(kPathSeparator);
    const std::string_view name =
        (cut == std::string_view::npos) ? trimmed : trimmed.substr(cut + 1);

    struct stat st {};
    if (own.empty() || ::lstat(own.c_str(), &st) != 0) {
        const int error = own.empty() ? ENOENT : errno;
        throw Failure(std::strerror(error));
    }
    FileFacts facts;
    facts.link = S_ISLNK(st.st_mode);
    facts.targetKnown = !facts.link || ::stat(own.c_str(), &st) == 0;
    if (facts.targetKnown) {
        facts.directory = S_ISDIR(st.st_mode);
        facts.regular = S_ISREG(st.st_mode);
        facts.ownerWritable = (st.st_mode & S_IWUSR) != 0;
    }
    return AttributesFromFacts(name, facts);
}

}  // namespace verrolift
