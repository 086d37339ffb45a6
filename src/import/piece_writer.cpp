#include "import/piece_writer.h"

#include <algorithm>

namespace verrolift {

void PieceWriter::Flush() {
    const int count = count_;
    count_ = 0;
    if (check_)
        for (int k = 0; k < count; ++k)
            if (!check_->Feed(pieces_[k].data, pieces_[k].size)) throw NotUtf8{};
    int index = 0;         // the first piece not written in full
    std::size_t done = 0;  // how much of it is written
    while (index < count) {
        WritePiece batch[kMaxPieces];
        int used = 0;
        std::size_t total = 0;
        for (int k = index; k < count && total < kMaxWrite; ++k) {
            const std::size_t skip = k == index ? done : 0;
            const std::size_t size = std::min(pieces_[k].size - skip, kMaxWrite - total);
            batch[used++] = WritePiece{pieces_[k].data + skip, size};
            total += size;
        }
        const long long n = WritePieces(file_, batch, used);
        if (n < 0) throw WorkingCopyError(stage_, DescribeErrno(what_));
        for (auto written = static_cast<std::size_t>(n); written > 0;) {
            const std::size_t rest = pieces_[index].size - done;
            if (written < rest) {
                done += written;
                break;
            }
            written -= rest;
            ++index;
            done = 0;
        }
    }
}

}  // namespace verrolift
