#pragma once

#include <optional>
#include <string>

#include <QListWidget>

#include "db/table_list.h"

namespace verrolift {

// The main window's table list (List1): names in the order given, unsorted,
// at most one selected.
class TableListBox : public QListWidget, public TableList {
    Q_OBJECT
public:
    explicit TableListBox(QWidget* parent = nullptr);

    int Count() const override;
    std::string At(int index) const override;
    void Append(const std::string& name) override;
    void InsertAtTop(const std::string& name) override;
    void Clear() override;
    std::optional<std::string> Selected() const override;

    // Selects the entry at index, or nothing with -1.
    void Select(int index);
};

}  // namespace verrolift
