#include "import/read_buffer.h"

#include <cstring>

#include "import/file_handle.h"

namespace verrolift {

namespace {

std::size_t AtLeastTwo(std::size_t size) {
    return size < 2 ? 2 : size;
}

}  // namespace

ReadBuffer::ReadBuffer(int fd, std::string what, std::size_t size)
    : fd_(fd),
      what_(std::move(what)),
      data_(new char[AtLeastTwo(size)]),
      capacity_(AtLeastTwo(size)) {}

ReadBuffer::ReadBuffer(std::string_view text)
    : data_(new char[AtLeastTwo(text.size())]),
      capacity_(AtLeastTwo(text.size())),
      end_(text.size()),
      eof_(true) {
    if (!text.empty()) std::memcpy(data_.get(), text.data(), text.size());
}

bool ReadBuffer::ReadAfterAllUsed() {
    if (eof_) return true;
    offset_ += end_;
    begin_ = end_ = 0;
    while (end_ == 0 && !eof_) Fill();
    return end_ == 0;
}

void ReadBuffer::ReadMore() {
    if (begin_ > 0) {
        offset_ += begin_;
        std::memmove(data_.get(), data_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == capacity_) {
        // What is held fills the buffer: it grows with it, and only then.
        const std::size_t grown = capacity_ * 2;
        std::unique_ptr<char[]> bigger(new char[grown]);
        std::memcpy(bigger.get(), data_.get(), end_);
        data_ = std::move(bigger);
        capacity_ = grown;
    }
    Fill();
}

std::string_view ReadBuffer::TakeUnread() noexcept {
    const std::string_view rest(data_.get() + begin_, end_ - begin_);
    offset_ += end_;
    begin_ = end_ = 0;
    return rest;
}

void ReadBuffer::Fill() {
    const std::size_t n = ReadSome(fd_, data_.get() + end_, capacity_ - end_, what_);
    if (n == 0) eof_ = true;
    end_ += n;
}

}  // namespace verrolift
