#pragma once

#include <string>
#include <vector>

namespace verrolift {

// The ordered list of files to import: full paths, duplicates allowed. Indexes from 0,
// as in the table list.
class FileList {
public:
    virtual ~FileList() = default;
    virtual int Count() const = 0;
    virtual std::string At(int index) const = 0;
    virtual void AddEntry(const std::string& text) = 0;
    // Appends many entries in one go (one repaint for a whole folder tree).
    virtual void AddEntries(const std::vector<std::string>& texts) {
        for (const auto& text : texts) AddEntry(text);
    }

    std::vector<std::string> Snapshot() const {
        std::vector<std::string> entries;
        const int n = Count();
        entries.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) entries.push_back(At(i));
        return entries;
    }
};

// A file list without a window: the command line and tests.
class VectorFileList : public FileList {
public:
    VectorFileList() = default;
    explicit VectorFileList(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    int Count() const override { return static_cast<int>(entries_.size()); }
    std::string At(int index) const override {
        return entries_.at(static_cast<std::size_t>(index));
    }
    void AddEntry(const std::string& text) override { entries_.push_back(text); }

private:
    std::vector<std::string> entries_;
};

}  // namespace verrolift
