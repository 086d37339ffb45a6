#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verrolift {

// The table list of the main window: ordered names, at most one selected.
class TableList {
public:
    virtual ~TableList() = default;
    virtual int Count() const = 0;
    virtual std::string At(int index) const = 0;  // from 0, as in the file list
    virtual void Append(const std::string& name) = 0;
    virtual void InsertAtTop(const std::string& name) = 0;
    virtual void Clear() = 0;
    virtual std::optional<std::string> Selected() const = 0;
};

// True when an entry equals name without regard to (ASCII) letter case.
bool ListContains(const TableList& list, std::string_view name);

// A table list without a window: the command line and tests.
class VectorTableList : public TableList {
public:
    VectorTableList() = default;
    explicit VectorTableList(std::vector<std::string> names) : names_(std::move(names)) {}

    int Count() const override { return static_cast<int>(names_.size()); }
    std::string At(int index) const override { return names_.at(static_cast<std::size_t>(index)); }
    void Append(const std::string& name) override { names_.push_back(name); }
    void InsertAtTop(const std::string& name) override;
    void Clear() override;
    std::optional<std::string> Selected() const override;

    // Selects the entry at index, or nothing with -1.
    void Select(int index) { selected_ = index; }
    const std::vector<std::string>& Names() const { return names_; }

private:
    std::vector<std::string> names_;
    int selected_ = -1;
};

}  // namespace verrolift
