#include "import/text_decoder.h"

#include "base/failure.h"
#include "import/utf8_check.h"
#include "import/windows_1252.h"

namespace verrolift {

namespace {

// Bytes: no decoding.
class PassThrough : public CodePageConverter {
public:
    std::size_t Convert(const char* data, std::size_t size, std::string& out,
                        std::vector<std::size_t>& /*replaced*/) override {
        out.append(data, size);
        return size;
    }
};

// UTF-8 given by name: valid stretches are copied as they are.
class Utf8Converter : public CodePageConverter {
public:
    std::size_t Convert(const char* data, std::size_t size, std::string& out,
                        std::vector<std::size_t>& replaced) override {
        for (std::size_t i = 0;;) {
            const Utf8Scan scan = ScanUtf8(data + i, size - i);
            out.append(data + i, scan.valid);
            i += scan.valid;
            if (scan.stop == Utf8Scan::End) return size;
            if (scan.stop == Utf8Scan::Incomplete) return i;
            replaced.push_back(out.size());
            out.append(kReplacementUtf8);
            i += scan.invalidLength;
        }
    }
};

class Utf16Converter : public CodePageConverter {
public:
    explicit Utf16Converter(bool bigEndian) : bigEndian_(bigEndian) {}

    std::size_t Convert(const char* data, std::size_t size, std::string& out,
                        std::vector<std::size_t>& replaced) override {
        const auto* p = reinterpret_cast<const unsigned char*>(data);
        const std::size_t at = out.size();
        // At most 3 bytes of UTF-8 for 2 of input (a pair: 4 for 4).
        out.resize(at + size / 2 * 3);
        char* const base = out.data();
        char* w = base + at;
        const auto put = [&w](unsigned byte) { *w++ = static_cast<char>(byte); };
        std::size_t i = 0;
        while (size - i >= 2) {
            const unsigned u = Unit(p + i);
            if (u < 0x80) {
                put(u);
            } else if (u < 0x800) {
                put(0xC0 | (u >> 6));
                put(0x80 | (u & 0x3F));
            } else if (u < 0xD800 || u > 0xDFFF) {
                put(0xE0 | (u >> 12));
                put(0x80 | ((u >> 6) & 0x3F));
                put(0x80 | (u & 0x3F));
            } else {
                // A high surrogate at the end may be completed by the next piece.
                if (u < 0xDC00 && size - i < 4) break;
                const unsigned v = u < 0xDC00 ? Unit(p + i + 2) : 0;
                if (v >= 0xDC00 && v <= 0xDFFF) {
                    const unsigned c = 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
                    put(0xF0 | (c >> 18));
                    put(0x80 | ((c >> 12) & 0x3F));
                    put(0x80 | ((c >> 6) & 0x3F));
                    put(0x80 | (c & 0x3F));
                    i += 2;
                } else {
                    // Unpaired: the unit after a lone high surrogate is read afresh.
                    replaced.push_back(static_cast<std::size_t>(w - base));
                    for (const char c : kReplacementUtf8) *w++ = c;
                }
            }
            i += 2;
        }
        out.resize(static_cast<std::size_t>(w - base));
        return i;
    }

private:
    unsigned Unit(const unsigned char* p) const {
        return bigEndian_ ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
    }

    bool bigEndian_;
};

std::unique_ptr<CodePageConverter> OpenConverter(const TextEncoding& encoding) {
    switch (encoding.Kind()) {
        case EncodingKind::Utf8:
            return std::make_unique<Utf8Converter>();
        case EncodingKind::Utf16Le:
            return std::make_unique<Utf16Converter>(false);
        case EncodingKind::Utf16Be:
            return std::make_unique<Utf16Converter>(true);
        case EncodingKind::Bytes:
            return std::make_unique<PassThrough>();
        case EncodingKind::CodePage:
            break;
    }
    if (encoding.IsWindows1252()) return std::make_unique<Windows1252Converter>();
    auto converter = OpenPlatformCodePage(encoding.CodePageName());
    if (!converter)
        throw Failure("The system cannot read text in the encoding " + encoding.DisplayName() +
                      ".");
    return converter;
}

}  // namespace

TextDecoder::TextDecoder(const TextEncoding& encoding) : converter_(OpenConverter(encoding)) {}
TextDecoder::~TextDecoder() = default;
TextDecoder::TextDecoder(TextDecoder&&) noexcept = default;
TextDecoder& TextDecoder::operator=(TextDecoder&&) noexcept = default;

void TextDecoder::Decode(const char* data, std::size_t size, std::string& out) {
    const std::size_t start = out.size();
    replaced_.clear();
    if (pending_.empty()) {
        const std::size_t taken = converter_->Convert(data, size, out, replaced_);
        pending_.assign(data + taken, size - taken);
    } else {
        // Rare enough (a character cut by a piece's end) that joining the whole piece to
        // it costs less than a second path through every converter.
        pending_.append(data, size);
        const std::size_t taken =
            converter_->Convert(pending_.data(), pending_.size(), out, replaced_);
        pending_.erase(0, taken);
    }
    Note(start, out);
}

void TextDecoder::Finish(std::string& out) {
    const std::size_t start = out.size();
    replaced_.clear();
    if (!pending_.empty()) {
        replaced_.push_back(out.size());
        out.append(kReplacementUtf8);
        pending_.clear();
    }
    converter_->Flush(out);
    Note(start, out);
}

void TextDecoder::Note(std::size_t start, const std::string& out) {
    for (const std::size_t index : replaced_) invalidAt_.push_back(written_ + (index - start));
    written_ += out.size() - start;
}

}  // namespace verrolift
