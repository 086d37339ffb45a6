#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/windows_api.h"
#include "files/file_list.h"
#include "files/list_reorder.h"

namespace verrolift::win32 {

// The main window's file list (ListView1) on a report-style list view with one column, each
// row the full path of one file. A double-click anywhere in the list, or the Delete key,
// removes the selected entry unless the window is busy. An entry dragged with the mouse moves
// up or down the list; files and folders dropped from the file manager go to the drop handler.
class FileListControl : public FileList, private ReorderableList {
public:
    // list: a list view made by the window; windowPointer: the window's, for hover feedback.
    FileListControl(HWND list, WindowPointer& windowPointer, std::string programFolder);
    ~FileListControl() override;
    FileListControl(const FileListControl&) = delete;
    FileListControl& operator=(const FileListControl&) = delete;

    // FileList
    int Count() const override;
    std::string At(int index) const override;
    void AddEntry(const std::string& text) override;
    void AddEntries(const std::vector<std::string>& texts) override;

    void RemoveSelectedEntry();
    void SetBusyTest(std::function<bool()> busy) { busy_ = std::move(busy); }
    void ShowBusyPointer(bool busy);
    void SetDropHandler(std::function<void(const std::vector<std::string>&)> handler) {
        dropHandler_ = std::move(handler);
    }
    // The one column with its header, added unless present; its width in twips.
    void EnsureColumn();
    void SetColumnWidthTwips(int twips);
    // WM_NOTIFY from the list: double-clicks and the Delete key.
    void Notified(const NMHDR& header);

    HWND Handle() const { return list_; }
    // Position from 1 of the selected entry; 0 when none.
    int SelectedPosition() const;
    const ListReorder& Reorder() const { return reorder_; }

private:
    // ReorderableList
    std::string Text(int position) const override;
    void SetText(int position, const std::string& text) override;
    std::shared_ptr<ListItemRef> SelectedItem() const override;
    std::shared_ptr<ListItemRef> ItemAt(int x, int y) const override;
    void Select(int position) override;
    void ScrollIntoView(int position) override;
    void ShowDragPointer() override;
    void ShowArrowPointer() override;
    int PointerScreenY() const override;

    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Dropped(HDROP drop);
    void MouseDown(WPARAM wParam, LPARAM lParam);
    std::shared_ptr<ListItemRef> Ref(int position) const;
    void SetListCursor(HCURSOR cursor, bool owned);

    HWND list_;
    std::string programFolder_;
    ListReorder reorder_;
    std::function<bool()> busy_;
    std::function<void(const std::vector<std::string>&)> dropHandler_;
    LPARAM nextId_ = 1;
    bool busyPointer_ = false;
    HCURSOR listCursor_ = nullptr;
    bool listCursorOwned_ = false;
};

}  // namespace verrolift::win32
