#include "import/windows_1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace verrolift {

namespace {

// 0x80 to 0x9F; from 0xA0 on the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Each byte's UTF-8 (1 to 3 bytes) and, in the last place, its length: one 4-byte copy
// writes an entry, and the next one overwrites what lies past its length.
using Entry = std::array<char, 4>;

constexpr std::array<Entry, 256> MakeTable() {
    std::array<Entry, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned c = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b;
        Entry& e = table[b];
        if (c < 0x80) {
            e = {static_cast<char>(c), 0, 0, 1};
        } else if (c < 0x800) {
            e = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0, 2};
        } else {
            e = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (c & 0x3F)), 3};
        }
    }
    return table;
}

constexpr std::array<Entry, 256> kTable = MakeTable();

// Input taken at a time: the output is sized for the worst case, 3 bytes a byte, and a
// block of it stays in the cache while it is written.
constexpr std::size_t kBlock = 16384;

}  // namespace

std::size_t Windows1252Converter::Convert(const char* data, std::size_t size, std::string& out,
                                          std::vector<std::size_t>& /*replaced*/) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t done = 0; done < size;) {
        const std::size_t block = std::min(size - done, kBlock);
        const std::size_t at = out.size();
        out.resize(at + 3 * block + 1);  // + 1: the last entry's length byte
        char* w = out.data() + at;
        const unsigned char* q = p + done;
        const unsigned char* const end = q + block;
        // Eight bytes at a time: ASCII ones are copied as they are, the others through the
        // table, which holds the ASCII bytes too.
        for (; end - q >= 8; q += 8) {
            std::uint64_t word;
            std::memcpy(&word, q, 8);
            if ((word & 0x8080808080808080u) == 0) {
                std::memcpy(w, q, 8);
                w += 8;
                continue;
            }
            for (int k = 0; k < 8; ++k) {
                const Entry& e = kTable[q[k]];
                std::memcpy(w, e.data(), 4);
                w += e[3];
            }
        }
        for (; q < end; ++q) {
            const Entry& e = kTable[*q];
            std::memcpy(w, e.data(), 4);
            w += e[3];
        }
        out.resize(static_cast<std::size_t>(w - out.data()));
        done += block;
    }
    return size;
}

}  // namespace verrolift
