#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "import/code_page.h"
#include "import/text_encoding.h"

namespace verrolift {

// Turns a file's bytes, read in pieces, into UTF-8. The caller drops a byte-order mark
// that agrees with the encoding (MarkToDrop) before the first piece: the decoder takes
// every byte it is given as text, so a mark of another encoding stays data.
//
// Input not valid in the encoding (a bad UTF-8 sequence, an unpaired surrogate, an odd
// last byte of UTF-16, a byte the code page does not map) is not guessed at: U+FFFD takes
// its place and its offset is noted, so that the caller can refuse the line holding it.
class TextDecoder {
public:
    // Throws Failure when the platform cannot convert from a code page (ParseEncodingName
    // has already asked it, so only a system that changed in between sees this).
    explicit TextDecoder(const TextEncoding& encoding);
    ~TextDecoder();
    TextDecoder(TextDecoder&&) noexcept;
    TextDecoder& operator=(TextDecoder&&) noexcept;

    // Appends the UTF-8 of data to out. A piece may end inside a character: its start is
    // kept for the next call.
    void Decode(const char* data, std::size_t size, std::string& out);

    // The end of the input: a character cut short by it becomes one U+FFFD, noted.
    void Finish(std::string& out);

    // Where each U+FFFD that stands for invalid input starts, in increasing order, as
    // offsets from the start of everything this decoder has written over all calls (not
    // indexes in one call's out). A U+FFFD that the input itself holds is not here.
    const std::vector<std::uint64_t>& InvalidAt() const { return invalidAt_; }

    // Forgets the offsets read so far, so that they do not pile up over a long file.
    void ClearInvalidAt() { invalidAt_.clear(); }

    // The bytes written over all calls.
    std::uint64_t Written() const { return written_; }

private:
    void Note(std::size_t start, const std::string& out);

    std::unique_ptr<CodePageConverter> converter_;
    std::string pending_;  // the start of a character cut by the last piece's end
    std::vector<std::size_t> replaced_;
    std::vector<std::uint64_t> invalidAt_;
    std::uint64_t written_ = 0;
};

}  // namespace verrolift
