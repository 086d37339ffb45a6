#pragma once

#include <cstdint>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"

namespace verrolift {

// What the folder scan needs of the file system: a folder's subfolders with their
// attributes and identity, and a folder's regular files. One implementation per platform
// (folder_lister_posix.cpp, folder_lister_windows.cpp); the rules of what is scanned and in
// what order stay with the callers.

// The identity of a folder, the same for every path that leads to it (links, junctions):
// device and inode on POSIX, volume serial number and file index on Windows.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FolderIdentity&) const = default;
};

struct FolderIdentityHash {
    std::size_t operator()(const FolderIdentity& id) const noexcept {
        return std::hash<std::uint64_t>()(id.index * 1000003u ^ id.volume);
    }
};

// Why a folder could not be opened or listed.
class ListingFailure : public Failure {
public:
    enum class Cause { Denied, NotFound, Other };
    ListingFailure(Cause cause, std::string description)
        : Failure(std::move(description)), cause_(cause) {}
    Cause GetCause() const noexcept { return cause_; }

private:
    Cause cause_;
};

struct SubfolderEntry {
    std::string name;
    unsigned attributes = 0;  // the bits of files/file_attributes.h
    FolderIdentity id;
};

// One folder, opened for listing. Opening never blocks (a FIFO in a folder's place is
// refused) and never throws; a folder that did not open throws its cause when listed.
class ListedFolder {
public:
    explicit ListedFolder(const std::string& path);
    ~ListedFolder();
    ListedFolder(const ListedFolder&) = delete;
    ListedFolder& operator=(const ListedFolder&) = delete;

    bool IsOpen() const noexcept;

    // The folder's own identity. Throws ListingFailure.
    FolderIdentity Identity() const;

    // Every folder in it, links counted by their target (a dangling link is none), without
    // "." and "..", in no particular order. Throws ListingFailure.
    std::vector<SubfolderEntry> Subfolders();

    // The names of the regular files in it (links counted by their target) for which
    // `wanted` holds; `wanted` is asked first, so that only names it takes cost a further
    // question to the file system. Throws ListingFailure.
    std::vector<std::string> Files(const std::function<bool(std::string_view name)>& wanted);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// One character of a file name, spelt as this platform's names are: on POSIX in the
// locale's multibyte character set (LC_CTYPE), on Windows in UTF-8 (the lister converts
// names from UTF-16).
struct NameCharacter {
    char32_t code;
    std::size_t size;  // bytes
};

// The character at the start of `bytes`, or none when they start no valid character or a
// NUL. `state` carries a shift state from one call to the next; after none it must be reset.
std::optional<NameCharacter> DecodeNameCharacter(std::string_view bytes, std::mbstate_t& state);

}  // namespace verrolift
