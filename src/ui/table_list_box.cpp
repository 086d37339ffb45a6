#include "ui/table_list_box.h"

namespace verrolift {

namespace {
// Each row keeps the name's own bytes; the shown text is only their rendering.
constexpr int kBytesRole = Qt::UserRole + 1;

QListWidgetItem* MakeItem(const std::string& name) {
    auto* item = new QListWidgetItem(QString::fromLocal8Bit(name));
    item->setData(kBytesRole, QByteArray::fromStdString(name));
    return item;
}
}  // namespace

TableListBox::TableListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
}

int TableListBox::Count() const {
    return count();
}

std::string TableListBox::At(int index) const {
    const QListWidgetItem* it = item(index);
    return it ? it->data(kBytesRole).toByteArray().toStdString() : std::string();
}

void TableListBox::Append(const std::string& name) {
    addItem(MakeItem(name));
}

void TableListBox::InsertAtTop(const std::string& name) {
    insertItem(0, MakeItem(name));
}

void TableListBox::Clear() {
    clear();
}

std::optional<std::string> TableListBox::Selected() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return selected.first()->data(kBytesRole).toByteArray().toStdString();
}

void TableListBox::Select(int index) {
    if (QListWidgetItem* it = item(index)) {
        setCurrentItem(it);
        it->setSelected(true);
    } else {
        clearSelection();
    }
}

}  // namespace verrolift
