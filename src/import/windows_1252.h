#pragma once

#include "import/code_page.h"

namespace verrolift {

// Windows-1252, by a table of this program's: every byte is a character. The five bytes
// the code page leaves unassigned (81, 8D, 8F, 90, 9D) become the C1 controls of the same
// number, as Windows itself reads them, so that no byte of a file is lost; iconv would
// refuse them. Nothing is ever invalid or cut short.
class Windows1252Converter : public CodePageConverter {
public:
    std::size_t Convert(const char* data, std::size_t size, std::string& out,
                        std::vector<std::size_t>& replaced) override;
};

}  // namespace verrolift
