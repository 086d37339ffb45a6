#pragma once

#include <optional>
#include <string>

#include "base/windows_api.h"
#include "db/table_list.h"

namespace verrolift::win32 {

// The main window's table list (List1) on a list box: names in the order given, one selected.
class TableListControl : public TableList {
public:
    explicit TableListControl(HWND listBox) : list_(listBox) {}

    int Count() const override;
    std::string At(int index) const override;
    void Append(const std::string& name) override;
    void InsertAtTop(const std::string& name) override;
    void Clear() override;
    std::optional<std::string> Selected() const override;

    HWND Handle() const { return list_; }

private:
    HWND list_;
};

}  // namespace verrolift::win32
