#include "import/text_encoding.h"

#include "base/ignoring_case.h"
#include "import/code_page.h"

namespace verrolift {

namespace {

struct NamedKind {
    std::string_view name;
    EncodingKind kind;
};

constexpr NamedKind kNamedKinds[] = {
    {"utf-8", EncodingKind::Utf8},       {"utf8", EncodingKind::Utf8},
    {"utf-16le", EncodingKind::Utf16Le}, {"utf16le", EncodingKind::Utf16Le},
    {"utf-16be", EncodingKind::Utf16Be}, {"utf16be", EncodingKind::Utf16Be},
    {"bytes", EncodingKind::Bytes},
};

bool IsWindows1252Name(std::string_view name) {
    return EqualIgnoringCase(name, "windows-1252") || EqualIgnoringCase(name, "cp1252") ||
           EqualIgnoringCase(name, "1252");
}

}  // namespace

std::string TextEncoding::DisplayName() const {
    switch (kind_) {
        case EncodingKind::Utf8:
            return "utf-8";
        case EncodingKind::Utf16Le:
            return "utf-16le";
        case EncodingKind::Utf16Be:
            return "utf-16be";
        case EncodingKind::Bytes:
            return "bytes";
        case EncodingKind::CodePage:
            break;
    }
    return codePageName_;
}

bool TextEncoding::IsWindows1252() const {
    return kind_ == EncodingKind::CodePage && IsWindows1252Name(codePageName_);
}

std::optional<TextEncoding> ParseEncodingName(std::string_view name) {
    for (const NamedKind& named : kNamedKinds)
        if (EqualIgnoringCase(name, named.name)) return TextEncoding(named.kind);
    if (name.empty()) return std::nullopt;
    if (IsWindows1252Name(name) || OpenPlatformCodePage(name))
        return TextEncoding(EncodingKind::CodePage, std::string(name));
    return std::nullopt;
}

TextEncoding LegacyEncoding() {
    if (auto encoding = ParseEncodingName(SystemCodePageName())) return *encoding;
    return TextEncoding(EncodingKind::CodePage, "windows-1252");
}

std::optional<ByteOrderMark> FindByteOrderMark(std::string_view firstBytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(firstBytes[i]); };
    const std::size_t size = firstBytes.size();
    if (size >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
        return ByteOrderMark{EncodingKind::Utf8, 3};
    if (size >= 2 && at(0) == 0xFF && at(1) == 0xFE) return ByteOrderMark{EncodingKind::Utf16Le, 2};
    if (size >= 2 && at(0) == 0xFE && at(1) == 0xFF) return ByteOrderMark{EncodingKind::Utf16Be, 2};
    return std::nullopt;
}

std::size_t MarkToDrop(const TextEncoding& encoding, std::string_view firstBytes) {
    const auto mark = FindByteOrderMark(firstBytes);
    return mark && mark->kind == encoding.Kind() ? mark->length : 0;
}

}  // namespace verrolift
