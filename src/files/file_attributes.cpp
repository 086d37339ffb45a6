#include "files/file_attributes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/failure.h"
#include "base/paths.h"

namespace verrolift {

unsigned AttributesFromFacts(std::string_view name, const FileFacts& facts) {
    unsigned bits = 0;
    if (!name.empty() && name.front() == '.') bits |= attributes::kHidden;
    if (facts.link) bits |= attributes::kReparsePoint;
    if (facts.targetKnown) {
        if (facts.directory) bits |= attributes::kDirectory;
        if (facts.regular) bits |= attributes::kArchive;
        if (!facts.ownerWritable) bits |= attributes::kReadOnly;
    }
    return bits;
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
