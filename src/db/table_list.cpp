#include "db/table_list.h"

namespace verrolift {

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool ListContains(const TableList& list, std::string_view name) {
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const std::string entry = list.At(i);
        if (entry.size() != name.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < entry.size() && same; ++k) same = Lower(entry[k]) == Lower(name[k]);
        if (same) return true;
    }
    return false;
}

void VectorTableList::InsertAtTop(const std::string& name) {
    names_.insert(names_.begin(), name);
    // The selection stays on the same table, as in a list box.
    if (selected_ >= 0) ++selected_;
}

void VectorTableList::Clear() {
    names_.clear();
    selected_ = -1;
}

std::optional<std::string> VectorTableList::Selected() const {
    if (selected_ < 0 || selected_ >= Count()) return std::nullopt;
    return names_[static_cast<std::size_t>(selected_)];
}

}  // namespace verrolift
