// Code pages on Windows: MultiByteToWideChar, refusing what the code page does not map
// (MB_ERR_INVALID_CHARS), then UTF-16 to UTF-8. That call fails a whole stretch without
// saying where, so input goes in stretches of whole characters: a stretch that fails is
// halved until the character at fault is alone.

#include <algorithm>
#include <array>
#include <optional>

#include "base/ignoring_case.h"
#include "base/windows_api.h"
#include "import/code_page.h"

namespace verrolift {

namespace {

struct NamedCodePage {
    std::string_view name;
    UINT codePage;
};

// Names users know from elsewhere (iconv, the web) for code pages Windows numbers.
constexpr NamedCodePage kNamedCodePages[] = {
    {"latin1", 28591},     {"iso-8859-1", 28591},  {"latin2", 28592},     {"iso-8859-2", 28592},
    {"iso-8859-3", 28593}, {"iso-8859-4", 28594},  {"iso-8859-5", 28595}, {"iso-8859-6", 28596},
    {"iso-8859-7", 28597}, {"iso-8859-8", 28598},  {"iso-8859-9", 28599}, {"iso-8859-13", 28603},
    {"latin9", 28605},     {"iso-8859-15", 28605}, {"koi8-r", 20866},     {"koi8-u", 21866},
    {"us-ascii", 20127},   {"ascii", 20127},       {"shift_jis", 932},    {"shift-jis", 932},
    {"sjis", 932},         {"gbk", 936},           {"gb2312", 936},       {"big5", 950},
    {"euc-kr", 51949},     {"euc-jp", 20932},      {"gb18030", 54936},
};

std::optional<UINT> CodePageNumber(std::string_view name) {
    for (const NamedCodePage& named : kNamedCodePages)
        if (EqualIgnoringCase(name, named.name)) return named.codePage;
    for (const std::string_view prefix : {std::string_view("windows-"), std::string_view("cp")}) {
        if (name.size() > prefix.size() &&
            EqualIgnoringCase(name.substr(0, prefix.size()), prefix)) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    if (name.empty() || name.size() > 5) return std::nullopt;
    UINT number = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<UINT>(c - '0');
    }
    return number;
}

// How a code page's characters are cut out of its bytes.
enum class Shape {
    Single,   // one byte each
    Double,   // a lead byte and the byte after it, or one other byte
    Gb18030,  // one, two or four bytes
};

// Bytes of input at a time when all goes well; after a failure the stretch grows again
// from the single character.
constexpr std::size_t kMaxStretch = 65536;

class WindowsCodePageConverter : public CodePageConverter {
public:
    WindowsCodePageConverter(UINT codePage, Shape shape, const std::array<bool, 256>& lead)
        : codePage_(codePage), shape_(shape), lead_(lead) {}

    std::size_t Convert(const char* data, std::size_t size, std::string& out,
                        std::vector<std::size_t>& replaced) override {
        const auto* p = reinterpret_cast<const unsigned char*>(data);
        std::size_t pos = 0;
        for (;;) {
            std::size_t end = pos;
            std::size_t characters = 0;
            if (shape_ == Shape::Single) {
                end = std::min(size, pos + stretch_);
                characters = end - pos;
            } else {
                while (end < size && end - pos < stretch_) {
                    const std::size_t length = CharacterLength(p + end, size - end);
                    if (length == 0) break;
                    end += length;
                    ++characters;
                }
            }
            if (characters == 0) return pos;  // the end, or a character cut short
            if (Widen(data + pos, end - pos, out)) {
                pos = end;
                stretch_ = std::min(stretch_ * 2, kMaxStretch);
            } else if (characters > 1) {
                stretch_ = std::max<std::size_t>((end - pos) / 2, 1);
            } else {
                replaced.push_back(out.size());
                out.append(kReplacementUtf8);
                ++pos;  // only the lead byte: the byte after it is read afresh
            }
        }
    }

private:
    // The bytes of the character at p, or 0 when fewer than that are left.
    std::size_t CharacterLength(const unsigned char* p, std::size_t left) const {
        if (shape_ == Shape::Double) return !lead_[p[0]] ? 1 : left >= 2 ? 2 : 0;
        if (p[0] < 0x81 || p[0] == 0xFF) return 1;
        if (left < 2) return 0;
        if (p[1] < 0x30 || p[1] > 0x39) return 2;
        return left >= 4 ? 4 : 0;
    }

    bool Widen(const char* data, std::size_t size, std::string& out) {
        const int length = static_cast<int>(size);
        wide_.resize(2 * size);
        const int units = MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, data, length,
                                              wide_.data(), 2 * length);
        if (units <= 0) return false;
        const std::size_t at = out.size();
        out.resize(at + 3 * static_cast<std::size_t>(units));
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide_.data(), units, out.data() + at,
                                              3 * units, nullptr, nullptr);
        out.resize(at + static_cast<std::size_t>(std::max(bytes, 0)));
        return true;
    }

    UINT codePage_;
    Shape shape_;
    std::array<bool, 256> lead_;
    std::size_t stretch_ = 1;
    std::wstring wide_;
};

}  // namespace

std::unique_ptr<CodePageConverter> OpenPlatformCodePage(std::string_view name) {
    const std::optional<UINT> codePage = CodePageNumber(name);
    CPINFO info;
    if (!codePage || !IsValidCodePage(*codePage) || !GetCPInfo(*codePage, &info)) return nullptr;
    Shape shape;
    if (info.MaxCharSize == 1) {
        shape = Shape::Single;
    } else if (*codePage == 54936) {
        shape = Shape::Gb18030;
    } else if (info.MaxCharSize == 2) {
        shape = Shape::Double;
    } else {
        // Stateful code pages (ISO-2022, HZ) and UTF-7 cannot be cut into characters
        // without their state; UTF-8 has a name of its own.
        return nullptr;
    }
    std::array<bool, 256> lead{};
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
        for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead[b] = true;
    // A few code pages refuse MB_ERR_INVALID_CHARS altogether.
    wchar_t probe[2];
    if (MultiByteToWideChar(*codePage, MB_ERR_INVALID_CHARS, "A", 1, probe, 2) != 1) return nullptr;
    return std::make_unique<WindowsCodePageConverter>(*codePage, shape, lead);
}

std::string SystemCodePageName() {
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) return "utf-8";
    return "windows-" + std::to_string(codePage);
}

}  // namespace verrolift
