#include "import/import_messages.h"

#include "base/display_text.h"

namespace verrolift {

std::string ColumnPrompt(int number) {
    return "Enter name for column #" + std::to_string(number) + ":";
}

std::string ColumnCountMessage(std::string_view path, std::string_view separator,
                               std::size_t fileFields, std::string_view table, int tableColumns) {
    std::string text =
        "The columns in the text file and the columns in the table must be identical.\r\n\r\n";
    text += ForDisplay(path);
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

std::string MalformedRecordMessage(std::string_view path, const MalformedRecord& record) {
    using Fault = QuotedRecordReader::Fault;
    std::string text = "Record " + std::to_string(record.number) + " of the file \"";
    text += ForDisplay(path);
    text += "\", beginning at line " + std::to_string(record.line) + ", is malformed: ";
    switch (record.fault) {
        case Fault::TextAfterQuote:
            return text + "text follows the closing quote of a field. It is not sent.";
        case Fault::OpenAtEnd:
            text += "a quoted field is still open at the end of the file.";
            break;
        case Fault::TooLong:
            text += "a quoted field runs past " +
                    std::to_string(QuotedRecordReader::kMaxQuotedField >> 20) +
                    " MiB without its closing quote.";
            break;
        case Fault::None:
            return text + "no fault is known. It is not sent.";
    }
    return text + " It is not sent; reading goes on at line " + std::to_string(record.line + 1) +
           ".";
}

std::string FilesNotImportedAfterRefusedLogin(const std::vector<std::string>& paths) {
    std::string text =
        "The database refused the login, so no further login is tried and these files are not "
        "imported:";
    for (const std::string& path : paths) {
        text += "\r\n";
        text += ForDisplay(path);
    }
    return text;
}

std::string ReadAsLegacyNotice(std::string_view path, std::string_view encoding) {
    return "\"" + std::string(path) + "\" is not UTF-8; it was read as " + std::string(encoding) +
           ".";
}

std::string RecordPlace(std::string_view path, std::uint64_t line) {
    // Thousands grouped, as the window's progress caption groups them.
    std::string digits = std::to_string(line);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return " (" + ForDisplay(name) + ", line " + digits + ")";
}

std::string UndecodableRecordMessage(std::string_view path, std::uint64_t line,
                                     std::string_view encoding) {
    return "The record is not valid " + std::string(encoding) + " text, so it was not sent." +
           RecordPlace(path, line);
}

}  // namespace verrolift
