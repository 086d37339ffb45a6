#include "app/help_texts.h"

namespace verrolift {

namespace {
constexpr const char* kCrLf = "\r\n";
constexpr const char* kExampleHost = "192.0.2.10";
}  // namespace

std::string SidHelpText() {
    std::string text = "This software works with Oracle 9i or higher.";
    text += "\r\r";
    text +=
        "The SID is used to identify a particular database. The SID is usually defined in the "
        "TNSNAMES.ORA file. The TNSNAMES.ORA file found in my Oracle 9i folder looks like:";
    text += "\r\n\r\n";
    const std::string entry[] = {
        "KARV =",
        " (DESCRIPTION =",
        "   (ADDRESS_LIST =",
        std::string("     (ADDRESS = (PROTOCOL = TCP)(HOST = ") + kExampleHost + ")(PORT = 1521))",
        "   )",
        "   (CONNECT_DATA =",
        "     (SID = KARV)",
        "   )",
        " )",
    };
    for (std::size_t i = 0; i < std::size(entry); ++i) {
        if (i > 0) text += kCrLf;
        text += entry[i];
    }
    text += "\r\n\r\n";
    text += "Therefore, my SID would be KARV";
    return text;
}

std::string FileFormatHelpText() {
    std::string text;
    text += "Text files should look like this:\r\n\r\n";
    text += "Name,State\r\n";
    text += "Peter,NH\r\n";
    text += "Jane,MA\r\n\r\n";
    text +=
        "Also, if appending, make sure the number of columns in the text file match the number of "
        "columns in the table.\r\n\r\n";
    text +=
        "When appending, number of columns and data types (number, decimal, text, etc.) must be "
        "identical.";
    text +=
        "\r\n\r\nTick \"Quoted fields\" when fields may stand between double quotes, as in "
        "\"Smith, John\",NH: a separator or a line break between the quotes is then part of the "
        "field, and two double quotes there stand for one.";
    text += "\r\n\r\nType \\t in \"Fields Separated By:\" for a TAB; a pasted TAB is shown as \\t.";
    return text;
}

}  // namespace verrolift
