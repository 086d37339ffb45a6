// Code pages on POSIX: glibc's iconv, converting to UTF-8.

#include <errno.h>
#include <iconv.h>

#include <algorithm>

#include "import/code_page.h"

namespace verrolift {

namespace {

class IconvConverter : public CodePageConverter {
public:
    explicit IconvConverter(iconv_t cd) : cd_(cd) {}
    ~IconvConverter() override { iconv_close(cd_); }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    std::size_t Convert(const char* data, std::size_t size, std::string& out,
                        std::vector<std::size_t>& replaced) override {
        char* in = const_cast<char*>(data);  // iconv's input is not written through
        std::size_t inLeft = size;
        while (inLeft > 0) {
            char* o = scratch_;
            std::size_t oLeft = sizeof scratch_;
            const std::size_t result = iconv(cd_, &in, &inLeft, &o, &oLeft);
            out.append(scratch_, static_cast<std::size_t>(o - scratch_));
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) continue;
            if (errno == EINVAL) break;  // a character cut short: taken again with more
            // EILSEQ: one byte skipped, so that what follows a bad lead byte is read.
            replaced.push_back(out.size());
            out.append(kReplacementUtf8);
            ++in;
            --inLeft;
        }
        return size - inLeft;
    }

    void Flush(std::string& out) override {
        char* o = scratch_;
        std::size_t oLeft = sizeof scratch_;
        iconv(cd_, nullptr, nullptr, &o, &oLeft);
        out.append(scratch_, static_cast<std::size_t>(o - scratch_));
    }

private:
    iconv_t cd_;
    // The output goes here and is then appended: sizing out for the worst case at each
    // call would cost as much again for every invalid byte.
    char scratch_[16384];
};

}  // namespace

std::unique_ptr<CodePageConverter> OpenPlatformCodePage(std::string_view name) {
    // iconv would take "" as the locale's own character set and "name//IGNORE" as an
    // order to drop what it cannot read.
    if (name.empty() || name.find('/') != std::string_view::npos) return nullptr;
    std::string iconvName(name);
    if (std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        iconvName = "CP" + iconvName;  // a Windows code page number, as on Windows
    const iconv_t cd = iconv_open("UTF-8", iconvName.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return std::make_unique<IconvConverter>(cd);
}

std::string SystemCodePageName() {
    return "windows-1252";
}

}  // namespace verrolift
