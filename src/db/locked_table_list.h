#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "db/table_list.h"

namespace verrolift {

// A table list shared by jobs on several threads: each call holds a lock. A scan
// by ListContains is not one step: names inserted at the top meanwhile may be
// missed, which the run avoids by never letting two files with the same table
// name work at once.
class LockedTableList : public TableList {
public:
    explicit LockedTableList(TableList& list) : list_(list) {}

    int Count() const override {
        const std::lock_guard lock(mutex_);
        return list_.Count();
    }
    std::string At(int index) const override {
        const std::lock_guard lock(mutex_);
        return list_.At(index);
    }
    void Append(const std::string& name) override {
        const std::lock_guard lock(mutex_);
        list_.Append(name);
    }
    void InsertAtTop(const std::string& name) override {
        const std::lock_guard lock(mutex_);
        list_.InsertAtTop(name);
    }
    void Clear() override {
        const std::lock_guard lock(mutex_);
        list_.Clear();
    }
    std::optional<std::string> Selected() const override {
        const std::lock_guard lock(mutex_);
        return list_.Selected();
    }

private:
    TableList& list_;
    mutable std::mutex mutex_;
};

}  // namespace verrolift
