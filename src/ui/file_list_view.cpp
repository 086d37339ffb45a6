#include "ui/file_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/filled_header.h"
#include "ui/look.h"

namespace verrolift {

namespace {
// Each row keeps the path's own bytes; the shown text is only their rendering.
constexpr int kBytesRole = Qt::UserRole + 1;
}  // namespace

FileListView::FileListView(QWidget* parent) : QTreeWidget(parent) {
    setHeader(new FilledHeader(this));
    setColumnCount(1);
    setHeaderHidden(false);
    header()->setStretchLastSection(false);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setToolTip(QString::fromLatin1(kFileListHint));
    // The column comes with the window's load step.
    setHeaderLabels({QString()});
}

QTreeWidgetItem* FileListView::MakeItem(const std::string& text) const {
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromLocal8Bit(text));
    item->setData(0, kBytesRole, QByteArray::fromStdString(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
    return item;
}

int FileListView::Count() const {
    return topLevelItemCount();
}

std::string FileListView::At(int position) const {
    return EntryText(position);
}

void FileListView::AddEntry(const std::string& text) {
    addTopLevelItem(MakeItem(text));
}

void FileListView::AddEntries(const std::vector<std::string>& texts) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    for (const auto& text : texts) items.push_back(MakeItem(text));
    addTopLevelItems(items);
}

void FileListView::RemoveSelectedEntry() {
    if (busy_ && busy_()) return;
    if (Count() == 0) return;
    const int position = SelectedPosition();
    if (position == 0) return;
    delete takeTopLevelItem(position - 1);
}

void FileListView::EnsureColumn() {
    const QString title = QString::fromLatin1(kFileListHeader);
    if (headerItem()->text(0) != title) setHeaderLabels({title});
}

void FileListView::SetColumnWidthTwips(int twips) {
    setColumnWidth(0, TwipsToPixels(twips));
}

int FileListView::PositionAt(const QPoint& viewportPoint) const {
    const QTreeWidgetItem* item = itemAt(viewportPoint);
    return item ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) + 1 : 0;
}

std::string FileListView::EntryText(int position) const {
    const QTreeWidgetItem* item = topLevelItem(position - 1);
    if (!item) return {};
    return item->data(0, kBytesRole).toByteArray().toStdString();
}

void FileListView::SetEntryText(int position, const std::string& text) {
    QTreeWidgetItem* item = topLevelItem(position - 1);
    if (!item) return;
    item->setText(0, QString::fromLocal8Bit(text));
    item->setData(0, kBytesRole, QByteArray::fromStdString(text));
}

void FileListView::SelectEntry(int position) {
    QTreeWidgetItem* item = topLevelItem(position - 1);
    if (!item) {
        clearSelection();
        return;
    }
    setCurrentItem(item);
    item->setSelected(true);
}

int FileListView::SelectedPosition() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return 0;
    return indexOfTopLevelItem(selected.first()) + 1;
}

void FileListView::ScrollToEntry(int position) {
    if (QTreeWidgetItem* item = topLevelItem(position - 1)) scrollToItem(item);
}

void FileListView::SetListCursor(const QCursor& cursor) {
    listCursor_ = cursor;
    ShowListCursor();
}

void FileListView::ResetListCursor() {
    listCursor_.reset();
    ShowListCursor();
}

void FileListView::ShowBusyPointer(bool busy) {
    busyPointer_ = busy;
    ShowListCursor();
}

void FileListView::ShowListCursor() {
    if (busyPointer_)
        viewport()->setCursor(Qt::WaitCursor);
    else if (listCursor_)
        viewport()->setCursor(*listCursor_);
    else
        viewport()->unsetCursor();
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        RemoveSelectedEntry();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    RemoveSelectedEntry();
    event->accept();
}

}  // namespace verrolift
