#include "import/import_messages.h"

namespace verrolift {

std::string ColumnPrompt(int number) {
    return "Enter name for column #" + std::to_string(number) + ":";
}

std::string ColumnCountMessage(std::string_view path, std::string_view separator,
                               std::size_t fileFields, std::string_view table, int tableColumns) {
    std::string text =
        "The columns in the text file and the columns in the table must be identical.\r\n\r\n";
    text += path;
    text += " was split by ";
    text += separator;
    text += " and has ";
    text += std::to_string(fileFields);
    text += " columns. The table ";
    text += table;
    text += " has ";
    text += std::to_string(tableColumns);
    text += " columns.";
    return text;
}

std::string FilesNotImportedAfterRefusedLogin(const std::vector<std::string>& paths) {
    std::string text =
        "The database refused the login, so no further login is tried and these files are not "
        "imported:";
    for (const std::string& path : paths) {
        text += "\r\n";
        text += path;
    }
    return text;
}

}  // namespace verrolift
