#include "files/folder_scan.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <optional>
#include <unordered_set>
#include <utility>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/paths.h"
#include "base/protected_handler.h"
#include "files/file_attributes.h"
#include "files/folder_lister.h"
#include "files/wildcard.h"

namespace verrolift {

namespace {

// One entry of a folder list together with what the scan already learnt
// about it, so that no path is examined twice without need.
struct Folder {
    std::string path;
    std::optional<unsigned> attributes;  // known when found as a subfolder
    std::optional<FolderIdentity> id;    // known when found as a subfolder or opened
    bool opened = false;                 // opened as a folder at its own level
};

struct ScanContext {
    EventPump& pump;
    Dialogs& dialogs;
    const FolderNotListed& notListed;
    // Every folder taken into this scan: a folder is never scanned twice.
    std::unordered_set<FolderIdentity, FolderIdentityHash> seen;
};

bool IsRootFolder(std::string_view path) {
    return !path.empty() && path.find_first_not_of(kPathSeparator) == std::string_view::npos;
}

// A folder entry's path without its trailing separator; the root keeps its own.
std::string WithoutSeparator(const std::string& entry) {
    if (entry.size() < 2 || IsRootFolder(entry)) return entry;
    return entry.substr(0, entry.size() - 1);
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

// The subfolders of an open folder, in byte order of their names. Throws
// ListingFailure when the listing fails.
std::vector<SubfolderEntry> SortedSubfolders(ListedFolder& folder) {
    std::vector<SubfolderEntry> subfolders = folder.Subfolders();
    std::sort(subfolders.begin(), subfolders.end(),
              [](const SubfolderEntry& a, const SubfolderEntry& b) { return a.name < b.name; });
    return subfolders;
}

// Statement numbers of the scan's protected handler. Numbers left out belong
// to statements that cannot fail or only skip.
namespace scan_steps {
constexpr std::int32_t kOpenFolder = 112;
constexpr std::int32_t kFolderAttributes = 116;
constexpr std::int32_t kListSubfolders = 118;
constexpr std::int32_t kIsFolderTest = 154;
constexpr std::int32_t kKeptTest = 158;
}  // namespace scan_steps

// One level of the scan: its protected handler and what the level's entries yield.
struct Level {
    Level(Dialogs& dialogs, const FolderNotListed& told)
        : handler(tags::kFolderScan, dialogs), notListed(told) {}

    ProtectedHandler handler;
    const FolderNotListed& notListed;
    std::vector<Folder> newFolders;  // 104
    // On from the first subfolder listing to the end of the level's loop: a failure then
    // ends the work on the current folder without a report (a failed listing is told to
    // notListed, when given).
    bool guard = false;
    std::vector<std::string> gone;  // folders found denied or vanished
};

// Runs a statement of the level's loop for folder v: reported while the guard is off;
// while it is on, a failure ends the work on v and drops v when it is denied or gone.
// True when the work on v ends.
template <class Statement>
bool Abandons(Level& level, const Folder& v, std::int32_t number, Statement&& statement) {
    if (!level.guard) {
        level.handler.Run(number, statement);
        return false;
    }
    try {
        statement();
        return false;
    } catch (const ListingFailure& failure) {
        if (failure.GetCause() != ListingFailure::Cause::Other) level.gone.push_back(v.path);
        if (level.notListed) level.notListed(WithoutSeparator(v.path), failure.Description());
    } catch (const Failure&) {
    } catch (const std::exception&) {
    }
    return true;
}

// 120 to 134: the subfolders of `parent` that are taken into the scan, at the end of `found`.
void AppendSubfolders(const Folder& parent, std::vector<SubfolderEntry>& subfolders,
                      std::vector<Folder>& found, ScanContext& context) {
    for (auto& sub : subfolders) {
        context.pump.Yield();  // 120
        // 122 to 130: the name, and 132/134: appended unless already scanned.
        if (!IsUsableSubfolderName(sub.name)) continue;
        if (!context.seen.insert(sub.id).second) continue;
        Folder folder;
        folder.path.reserve(parent.path.size() + sub.name.size() + 1);
        folder.path.append(parent.path).append(sub.name).push_back(kPathSeparator);
        folder.attributes = sub.attributes;
        folder.id = sub.id;
        found.push_back(std::move(folder));
    }
}

// 108 to 134 for one entry v of the level: its subfolders, into level.newFolders.
void ExamineFolder(Folder& v, Level& level, ScanContext& context) {
    // 110 before 108: both only skip, and the length needs no file system.
    if (CharacterCount(v.path) >= kMaxPathChars) return;

    // 108/112: opening the folder answers IsFolder and gets the folder
    // in one step; only a failed open needs the separate question.
    ListedFolder folder(v.path);
    if (!folder.IsOpen() && !IsFolder(v.path)) return;

    if (Abandons(level, v, scan_steps::kOpenFolder, [&] {
            if (!folder.IsOpen()) return;
            v.opened = true;
            if (!v.id) v.id = folder.Identity();
            context.seen.insert(*v.id);
        }))
        return;
    context.pump.Yield();  // 114
    bool skipped = false;
    if (Abandons(level, v, scan_steps::kFolderAttributes, [&] {
            if (!v.attributes) v.attributes = FileAttributes(v.path);
            skipped = IsSkippedFolder(v.path, *v.attributes);
        }))
        return;
    if (skipped) return;

    level.guard = true;  // 118
    std::vector<SubfolderEntry> subfolders;
    if (Abandons(level, v, scan_steps::kListSubfolders,
                 [&] { subfolders = SortedSubfolders(folder); }))
        return;
    AppendSubfolders(v, subfolders, level.newFolders, context);
}

void RemoveGone(std::vector<Folder>& folders, const std::vector<std::string>& gone) {
    for (const auto& path : gone) {
        auto it = std::find_if(folders.begin(), folders.end(),
                               [&](const Folder& f) { return f.path == path; });
        if (it != folders.end()) folders.erase(it);
    }
}

// 152 to 158: the level's new folders, with every level below them, onto `folders`.
void AppendNewFolders(Level& level, std::vector<Folder>& folders, ScanContext& context) {
    for (auto& w : level.newFolders) {  // 152
        // 154: a folder opened at its own level is known to be one.
        if (!level.handler.Test(scan_steps::kIsFolderTest,
                                [&] { return w.opened || IsFolder(w.path); }))
            continue;
        context.pump.Yield();  // 156
        if (level.handler.Test(scan_steps::kKeptTest, [&] {
                if (!w.attributes) w.attributes = FileAttributes(w.path);
                return !IsSkippedFolder(w.path, *w.attributes);
            }))
            folders.push_back(std::move(w));
    }
}

void Scan(std::vector<Folder>& folders, bool recurse, ScanContext& context) {
    Level level(context.dialogs, context.notListed);
    const std::size_t count = folders.size();  // 106: the entries the list had at the start
    for (std::size_t i = 0; i < count; ++i) ExamineFolder(folders[i], level, context);
    RemoveGone(folders, level.gone);

    // 150: the deeper levels extend newFolders in place.
    if (recurse && !level.newFolders.empty()) Scan(level.newFolders, true, context);
    AppendNewFolders(level, folders, context);
}

bool IsAsciiText(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

void GetSubDirectories2016(std::vector<std::string>& folders, bool recurse, EventPump& pump,
                           Dialogs& dialogs, const FolderNotListed& notListed) {
    std::vector<Folder> list;
    list.reserve(folders.size());
    for (auto& path : folders) list.push_back(Folder{path, std::nullopt, std::nullopt, false});
    ScanContext context{pump, dialogs, notListed, {}};
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
    ListedFolder listed(prefix);
    if (listed.IsOpen()) {
        names = listed.Files([&](std::string_view name) {
            return name.find_first_of("*?") == std::string_view::npos && wildcard.Matches(name);
        });
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
        if (const auto character = DecodeNameCharacter(text.substr(i), state)) {
            i += character->size;
        } else {
            state = std::mbstate_t{};
            ++i;
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
            const auto character = DecodeNameCharacter(name.substr(i), state);
            if (!character) return true;  // not a character of the names' character set
            code = static_cast<std::uint32_t>(character->code);
            i += character->size;
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
