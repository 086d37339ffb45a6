#include "import/utf8_check.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace verrolift {

namespace {

// The index of the first byte of an 8-byte word (as loaded by memcpy) whose bit 0x80 is set
// in `high`, which has no other bits set; high is not 0.
std::size_t FirstHighByte(std::uint64_t high) {
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::size_t>(std::countr_zero(high)) / 8;
    else
        return static_cast<std::size_t>(std::countl_zero(high)) / 8;
}

// The length of the run of ASCII bytes (below 0x80) that data starts with. Eight bytes at
// a time: a file's text is mostly ASCII, and this is most of the cost of reading it.
std::size_t AsciiPrefix(const unsigned char* data, std::size_t size) {
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        std::uint64_t a, b, c, d;
        std::memcpy(&a, data + i, 8);
        std::memcpy(&b, data + i + 8, 8);
        std::memcpy(&c, data + i + 16, 8);
        std::memcpy(&d, data + i + 24, 8);
        if ((a | b | c | d) & kHigh) break;
    }
    for (; i + 8 <= size; i += 8) {
        std::uint64_t a;
        std::memcpy(&a, data + i, 8);
        if (const std::uint64_t high = a & kHigh) return i + FirstHighByte(high);
    }
    while (i < size && data[i] < 0x80) ++i;
    return i;
}

// A state machine over bytes whose step is one table load and one shift: kRows[byte] holds,
// at bit `state` for each state, the state that byte leads to, so that each step waits on
// the last for a shift alone. The states are multiples of 6 below 64; only the low 6 bits
// of a state are meaningful.
enum : unsigned {
    kAccept = 0,  // between sequences
    kError = 6,   // stays
    kNeed1 = 12,  // continuation bytes (80..BF) still wanted
    kNeed2 = 18,
    kNeed3 = 24,
    kAfterE0 = 30,  // A0..BF, then one more (no overlong forms)
    kAfterED = 36,  // 80..9F, then one more (no surrogates)
    kAfterF0 = 42,  // 90..BF, then two more (no overlong forms)
    kAfterF4 = 48,  // 80..8F, then two more (nothing above U+10FFFF)
};

constexpr std::array<std::uint64_t, 256> MakeRows() {
    std::array<std::uint64_t, 256> rows{};
    for (unsigned b = 0; b < 256; ++b) {
        const auto to = [&](unsigned from, unsigned next) {
            rows[b] |= std::uint64_t{next} << from;
        };
        const bool continuation = b >= 0x80 && b <= 0xBF;
        to(kAccept, b < 0x80    ? kAccept
                    : b < 0xC2  ? kError
                    : b < 0xE0  ? kNeed1
                    : b == 0xE0 ? kAfterE0
                    : b == 0xED ? kAfterED
                    : b < 0xF0  ? kNeed2
                    : b == 0xF0 ? kAfterF0
                    : b < 0xF4  ? kNeed3
                    : b == 0xF4 ? kAfterF4
                                : kError);
        to(kError, kError);
        to(kNeed1, continuation ? kAccept : kError);
        to(kNeed2, continuation ? kNeed1 : kError);
        to(kNeed3, continuation ? kNeed2 : kError);
        to(kAfterE0, b >= 0xA0 && b <= 0xBF ? kNeed1 : kError);
        to(kAfterED, b >= 0x80 && b <= 0x9F ? kNeed1 : kError);
        to(kAfterF0, b >= 0x90 && b <= 0xBF ? kNeed2 : kError);
        to(kAfterF4, b >= 0x80 && b <= 0x8F ? kNeed2 : kError);
    }
    return rows;
}

constexpr std::array<std::uint64_t, 256> kRows = MakeRows();

// Sequence by sequence from `from`, a sequence boundary: says exactly where and why
// validity stops.
Utf8Scan ScanSequences(const unsigned char* p, std::size_t size, std::size_t from) {
    std::size_t i = from;
    for (;;) {
        i += AsciiPrefix(p + i, size - i);
        // Text in other scripts is a run of multi-byte sequences: read on here rather than
        // going back to the ASCII loop after each one.
        while (i < size && p[i] >= 0x80) {
            const unsigned lead = p[i];
            std::size_t length;
            // The second byte's range rules out overlong forms (E0, F0), surrogates (ED)
            // and code points above U+10FFFF (F4).
            unsigned low = 0x80, high = 0xBF;
            if (lead < 0xC2) {
                return {i, Utf8Scan::Invalid, 1};  // a continuation, or overlong C0 / C1
            } else if (lead < 0xE0) {
                length = 2;
            } else if (lead < 0xF0) {
                length = 3;
                if (lead == 0xE0) low = 0xA0;
                if (lead == 0xED) high = 0x9F;
            } else if (lead < 0xF5) {
                length = 4;
                if (lead == 0xF0) low = 0x90;
                if (lead == 0xF4) high = 0x8F;
            } else {
                return {i, Utf8Scan::Invalid, 1};
            }
            const std::size_t left = size - i;
            if (left < 2) return {i, Utf8Scan::Incomplete, 0};
            if (p[i + 1] < low || p[i + 1] > high) return {i, Utf8Scan::Invalid, 1};
            for (std::size_t k = 2; k < length; ++k) {
                if (left <= k) return {i, Utf8Scan::Incomplete, 0};
                if ((p[i + k] & 0xC0) != 0x80) return {i, Utf8Scan::Invalid, k};
            }
            i += length;
        }
        if (i == size) return {size, Utf8Scan::End, 0};
    }
}

}  // namespace

Utf8Scan ScanUtf8(const char* data, std::size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    std::uint64_t state = kAccept;
    std::size_t boundary = 0;  // a sequence boundary before which all is valid
    std::size_t i = 0;
    // Between sequences, 16 bytes of ASCII are skipped at a time; otherwise the state
    // machine starts at the first byte above 0x7F and takes 4 bytes, the most a character
    // has, and then 8 at a time while a sequence goes on. Fixed counts: a loop that stopped
    // at the end of each sequence would mispredict its branch as often as not. Where the
    // machine fails, or the text ends inside a sequence, the slower scan from the last
    // boundary says where.
    while (i + 16 <= size) {
        if ((state & 63) == kAccept) {
            std::uint64_t a, b;
            std::memcpy(&a, p + i, 8);
            std::memcpy(&b, p + i + 8, 8);
            const std::uint64_t highA = a & kHigh, highB = b & kHigh;
            if ((highA | highB) == 0) {
                i += 16;
                continue;
            }
            i += highA != 0 ? FirstHighByte(highA) : 8 + FirstHighByte(highB);
            boundary = i;
            if (i + 4 > size) break;
            for (std::size_t k = 0; k < 4; ++k) state = kRows[p[i + k]] >> (state & 63);
            i += 4;
        } else {
            for (std::size_t k = 0; k < 8; ++k) state = kRows[p[i + k]] >> (state & 63);
            i += 8;
        }
        if ((state & 63) == kError) return ScanSequences(p, size, boundary);
    }
    if ((state & 63) == kAccept) boundary = i;
    for (; i < size; ++i) state = kRows[p[i]] >> (state & 63);
    if ((state & 63) == kAccept) return {size, Utf8Scan::End, 0};
    return ScanSequences(p, size, boundary);
}

bool Utf8Check::Feed(const char* data, std::size_t size) {
    if (invalidAt_) return false;
    std::size_t start = 0;
    if (pendingSize_ > 0) {
        // Finish the cut sequence with the first bytes of this piece; no sequence is
        // longer than 4 bytes.
        const std::size_t carried = pendingSize_;
        const std::size_t taken = std::min(size, sizeof pending_ - carried);
        std::memcpy(pending_ + carried, data, taken);
        const Utf8Scan joined = ScanUtf8(reinterpret_cast<const char*>(pending_), carried + taken);
        if (joined.stop == Utf8Scan::End) {
            start = taken;
        } else if (joined.valid > 0) {
            start = joined.valid - carried;  // it ends in this piece: read on from there
        } else if (joined.stop == Utf8Scan::Invalid) {
            invalidAt_ = fed_ - carried;
            return false;
        } else {
            pendingSize_ = carried + taken;  // still cut short: the piece was that small
            fed_ += size;
            return true;
        }
        pendingSize_ = 0;
    }
    const Utf8Scan scan = ScanUtf8(data + start, size - start);
    if (scan.stop == Utf8Scan::Invalid) {
        invalidAt_ = fed_ + start + scan.valid;
        return false;
    }
    if (scan.stop == Utf8Scan::Incomplete) {
        pendingSize_ = size - start - scan.valid;
        std::memcpy(pending_, data + start + scan.valid, pendingSize_);
    }
    fed_ += size;
    return true;
}

bool Utf8Check::Finish() {
    if (!invalidAt_ && pendingSize_ > 0) invalidAt_ = fed_ - pendingSize_;
    return Valid();
}

}  // namespace verrolift
