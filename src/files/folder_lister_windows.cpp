// The folder lister and the attribute query on Windows: FindFirstFileW and
// FindNextFileW for the entries, attributes as Windows gives them, and the volume
// serial number with the file index for identity (the C run-time's st_ino is 0 there).

#include <string_view>

#include "base/wide_text.h"
#include "base/windows_api.h"
#include "files/file_attributes.h"
#include "files/folder_lister.h"

namespace verrolift {

namespace {

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length != 0 && text ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? "Windows error " + std::to_string(error) : Utf8FromWide(message);
}

ListingFailure FailureOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
            return ListingFailure(ListingFailure::Cause::Denied, "Permission denied");
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return ListingFailure(ListingFailure::Cause::NotFound, "Path not found");
        default:
            return ListingFailure(ListingFailure::Cause::Other, SystemMessage(error));
    }
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (IsOpen()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The folder itself, not its contents; a link or junction leads to its target.
HANDLE OpenFolderItself(const std::wstring& path) {
    return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool IdentityOf(HANDLE handle, FolderIdentity& id) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return true;
}

// A folder that cannot be opened is known by its path alone. Volume serial numbers
// have 32 bits, so this volume never meets a real one.
FolderIdentity PathIdentity(const std::wstring& path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : path) hash = (hash ^ static_cast<std::uint64_t>(c)) * 1099511628211ull;
    return FolderIdentity{~std::uint64_t{0}, hash};
}

std::wstring WithSeparator(std::wstring path) {
    if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) path.push_back(L'\\');
    return path;
}

bool IsDotName(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

}  // namespace

struct ListedFolder::State {
    std::wstring path;  // ends in a separator
    HANDLE folder = INVALID_HANDLE_VALUE;
    DWORD openError = ERROR_SUCCESS;

    HANDLE Folder() const {
        if (folder == INVALID_HANDLE_VALUE) throw FailureOf(openError);
        return folder;
    }

    // Calls `each` for every entry but "." and ".."; a failing listing throws.
    template <class Each>
    void ForEachEntry(Each&& each) const {
        Folder();
        WIN32_FIND_DATAW data;
        Handle find(FindFirstFileW((path + L"*").c_str(), &data));
        if (!find.IsOpen()) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return;
            throw FailureOf(error);
        }
        do {
            if (!IsDotName(data.cFileName)) each(data);
        } while (FindNextFileW(find.Get(), &data));
        const DWORD error = GetLastError();
        if (error != ERROR_NO_MORE_FILES) throw FailureOf(error);
    }
};

ListedFolder::ListedFolder(const std::string& path) : state_(std::make_unique<State>()) {
    const std::wstring wide = WidePath(path);
    state_->path = WithSeparator(wide);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        state_->openError = GetLastError();
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        state_->openError = ERROR_DIRECTORY;
        return;
    }
    state_->folder = OpenFolderItself(wide);
    if (state_->folder == INVALID_HANDLE_VALUE) state_->openError = GetLastError();
}

ListedFolder::~ListedFolder() {
    if (state_->folder != INVALID_HANDLE_VALUE) CloseHandle(state_->folder);
}

bool ListedFolder::IsOpen() const noexcept {
    return state_->folder != INVALID_HANDLE_VALUE;
}

FolderIdentity ListedFolder::Identity() const {
    FolderIdentity id;
    if (!IdentityOf(state_->Folder(), id)) throw FailureOf(GetLastError());
    return id;
}

std::vector<SubfolderEntry> ListedFolder::Subfolders() {
    std::vector<SubfolderEntry> subfolders;
    state_->ForEachEntry([&](const WIN32_FIND_DATAW& data) {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
        const std::wstring path = state_->path + data.cFileName;
        SubfolderEntry sub{Utf8FromWide(data.cFileName), data.dwFileAttributes, {}};
        Handle folder(OpenFolderItself(path));
        if (!folder.IsOpen()) {
            // A link whose target is gone is no folder.
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return;
            sub.id = PathIdentity(path);
        } else if (!IdentityOf(folder.Get(), sub.id)) {
            sub.id = PathIdentity(path);
        }
        subfolders.push_back(std::move(sub));
    });
    return subfolders;
}

std::vector<std::string> ListedFolder::Files(
    const std::function<bool(std::string_view name)>& wanted) {
    std::vector<std::string> names;
    state_->ForEachEntry([&](const WIN32_FIND_DATAW& data) {
        constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
        if ((data.dwFileAttributes & kNotAFile) != 0) return;
        std::string name = Utf8FromWide(data.cFileName);
        if (!wanted(name)) return;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            // A link counts by its target: only one that leads to a file.
            Handle file(CreateFileW((state_->path + data.cFileName).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
            if (!file.IsOpen()) return;
        }
        names.push_back(std::move(name));
    });
    return names;
}

std::optional<NameCharacter> DecodeNameCharacter(std::string_view bytes, std::mbstate_t&) {
    if (bytes.empty()) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned first = byte(0);
    if (first == 0) return std::nullopt;
    if (first < 0x80) return NameCharacter{first, 1};
    std::size_t size = 0;
    char32_t code = 0;
    char32_t least = 0;  // overlong forms are not characters
    if ((first & 0xE0) == 0xC0) {
        size = 2, code = first & 0x1F, least = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        size = 3, code = first & 0x0F, least = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        size = 4, code = first & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (bytes.size() < size) return std::nullopt;
    for (std::size_t i = 1; i < size; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    return NameCharacter{code, size};
}

unsigned FileAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw Failure(SystemMessage(GetLastError()));
    return attributes;
}

}  // namespace verrolift
