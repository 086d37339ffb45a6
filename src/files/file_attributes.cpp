#include "files/file_attributes.h"

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

}  // namespace verrolift
