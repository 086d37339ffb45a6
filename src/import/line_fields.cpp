#include "import/line_fields.h"

namespace verrolift {

void SplitFieldsInto(std::string_view line, std::string_view separator,
                     std::vector<std::string_view>& fields) {
    fields.clear();
    if (line.empty()) return;
    if (separator.empty()) {
        fields.push_back(line);
        return;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = line.find(separator, start);
        if (found == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, found - start));
        start = found + separator.size();
    }
}

bool SkipsFirstLine(const ImportOptionsSource& options) {
    const ImportMode mode = options.Mode();
    if (mode == ImportMode::AppendToTable && !options.SkipHeaderOnAppend()) return false;
    if (mode == ImportMode::CreateTable && options.Columns() == ColumnSource::HeaderLine)
        return options.SkipHeaderOnCreate();
    return true;
}

}  // namespace verrolift
