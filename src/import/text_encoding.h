#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace verrolift {

// How the bytes of a file are read as text. Everything after the first pass is UTF-8:
// a file's encoding is decided once, before any statement, and its text decoded from it.
//
// Bytes: no decoding at all; the bytes pass as they are and no mark is looked for.
// CodePage: a one- or multi-byte character set named by the user or the system; the
// Windows-1252 names (1252, cp1252, windows-1252) are decoded by a table of this
// program's on every platform, the others by the platform (iconv, MultiByteToWideChar).
enum class EncodingKind { Utf8, Utf16Le, Utf16Be, CodePage, Bytes };

class TextEncoding {
public:
    // codePageName: the name as given, for CodePage only.
    explicit TextEncoding(EncodingKind kind, std::string codePageName = {})
        : kind_(kind), codePageName_(std::move(codePageName)) {}

    EncodingKind Kind() const { return kind_; }
    const std::string& CodePageName() const { return codePageName_; }

    // "utf-8", "utf-16le", "utf-16be", "bytes", or a code page's name as given.
    std::string DisplayName() const;

    // A code page decoded by the built-in Windows-1252 table.
    bool IsWindows1252() const;

    bool operator==(const TextEncoding&) const = default;

private:
    EncodingKind kind_;
    std::string codePageName_;
};

// The encoding `--encoding NAME` names, compared without regard to case: utf-8, utf-16le,
// utf-16be, bytes, or a code page the platform converts from (asked of the platform, so
// an unknown name is refused before any file is read). None when nothing answers to it.
std::optional<TextEncoding> ParseEncodingName(std::string_view name);

// The encoding of a file that has no mark and is not valid UTF-8: Windows-1252 on POSIX,
// the system's ANSI code page on Windows.
TextEncoding LegacyEncoding();

// A byte-order mark: EF BB BF (UTF-8), FF FE (UTF-16 LE) or FE FF (UTF-16 BE).
struct ByteOrderMark {
    EncodingKind kind;
    std::size_t length;
};

// The mark that firstBytes start with, or none. Give the file's first 3 bytes, or all of
// it when shorter: a file of 2 bytes may still be a UTF-16 mark alone.
std::optional<ByteOrderMark> FindByteOrderMark(std::string_view firstBytes);

// How many bytes to drop at the start of a file read in `encoding`: the length of a mark
// there that agrees with it, else 0. A mark of another encoding is data (so is every
// mark for Bytes), and the decoder decides what it becomes.
std::size_t MarkToDrop(const TextEncoding& encoding, std::string_view firstBytes);

}  // namespace verrolift
