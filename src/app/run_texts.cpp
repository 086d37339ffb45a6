#include "app/run_texts.h"

#include "import/import_messages.h"

namespace verrolift {

namespace {

// "1 row", "2 rows".
std::string Counted(std::int64_t n, const char* one, const char* many) {
    return GroupedNumber(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string GroupedNumber(std::int64_t n) {
    std::string digits = std::to_string(n);
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

std::string ProgressCaptionText(const std::string& title, int position, int count,
                                std::int64_t rows) {
    return title + " - file " + GroupedNumber(position) + " of " + GroupedNumber(count) + ", " +
           Counted(rows, "row", "rows");
}

std::string FinalRunMessage(const ImportOutcome& outcome, int fileCount,
                            const std::string& badFolder) {
    std::string text = outcome.end == RunEnd::TablesAlreadyExist ? kTablesAlreadyExist : kDone;
    const std::int64_t refused = outcome.RowsRefused();
    text += "\r\n\r\n";
    text += GroupedNumber(outcome.FilesImported()) + " of " + Counted(fileCount, "file", "files") +
            " imported, ";
    text += Counted(outcome.RowsSent() - refused, "row", "rows") + " stored, ";
    text += Counted(refused, "row", "rows") + " refused.";
    for (const FileOutcome& file : outcome.files) {
        if (file.badFile.empty() || badFolder.empty()) continue;
        text += "\r\n\r\nThe records that were not stored are in \"" + badFolder + "\".";
        break;
    }
    return text;
}

std::string RefusedRowsMessage(const RefusedRows& refused) {
    std::string text = Counted(refused.rows, "row", "rows") + " of the file \"" + refused.path +
                       "\" were not stored: the database refused them. The first " +
                       GroupedNumber(refused.shown) + " were reported one by one.";
    if (!refused.badFileFolder.empty())
        text +=
            "\r\n\r\nThey are kept in a bad file in the folder \"" + refused.badFileFolder + "\".";
    return text;
}

}  // namespace verrolift
