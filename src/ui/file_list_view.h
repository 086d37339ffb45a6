#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QTreeWidget>

#include "app/file_list_look.h"
#include "files/file_list.h"

namespace verrolift {

// The main window's file list (ListView1): a report view with one column,
// each row the full path of one file. Positions count from 1; 0 means none.
// A double-click anywhere in the list, or the Delete key with any modifiers,
// removes the selected entry unless the window is busy.
class FileListView : public QTreeWidget, public FileList {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    // FileList
    int Count() const override;
    std::string At(int index) const override;
    void AddEntry(const std::string& text) override;
    void AddEntries(const std::vector<std::string>& texts) override;

    void RemoveSelectedEntry();
    // The window's busy test: while it answers true nothing is removed.
    void SetBusyTest(std::function<bool()> busy) { busy_ = std::move(busy); }

    // The one column header, added unless present; its width in twips.
    void EnsureColumn();
    void SetColumnWidthTwips(int twips);

    // For dragging entries and dropping files onto the list.
    // The entry under a point of the viewport; 0 when none.
    int PositionAt(const QPoint& viewportPoint) const;
    std::string EntryText(int position) const;
    void SetEntryText(int position, const std::string& text);
    // 0 clears the selection.
    void SelectEntry(int position);
    int SelectedPosition() const;
    void ScrollToEntry(int position);
    // The list's own pointer, independent of the window's pointer setting;
    // while the window is busy the list shows the busy pointer instead.
    void SetListCursor(const QCursor& cursor);
    void ResetListCursor();
    void ShowBusyPointer(bool busy);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QTreeWidgetItem* MakeItem(const std::string& text) const;
    void ShowListCursor();
    std::function<bool()> busy_;
    std::optional<QCursor> listCursor_;
    bool busyPointer_ = false;
};

}  // namespace verrolift
