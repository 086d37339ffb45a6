#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "files/file_list.h"

namespace verrolift::test {

// Counts the one-go additions, so that a folder fills the list in one step.
class CountingFileList : public VectorFileList {
public:
    void AddEntries(const std::vector<std::string>& texts) override {
        ++batches;
        VectorFileList::AddEntries(texts);
    }
    int batches = 0;
};

// A list whose adding fails for one chosen text.
class FailingFileList : public VectorFileList {
public:
    explicit FailingFileList(std::string failOn) : failOn_(std::move(failOn)) {}
    void AddEntry(const std::string& text) override {
        if (text == failOn_) throw std::runtime_error("Out of memory");
        VectorFileList::AddEntry(text);
    }

private:
    std::string failOn_;
};

}  // namespace verrolift::test
