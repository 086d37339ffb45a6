#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "app/file_list_look.h"
#include "base/dialogs.h"
#include "base/host.h"
#include "files/list_reorder.h"

class QDropEvent;
class QMimeData;

namespace verrolift {

class FileListView;

// Dragging on the main window's file list: files and folders dropped from
// outside are added (local file URLs only; anything else is refused while it
// is dragged over), and an entry dragged inside the list moves its text up or
// down. Attaches itself to the list and lives as long as `parent`.
class FileListDrag : public QObject {
    Q_OBJECT
public:
    // windowPointer: the main window's, for hover feedback; pump and dialogs
    // serve the scan of dropped folders; programFolder holds "drag.ico".
    FileListDrag(FileListView& view, WindowPointer& windowPointer, EventPump& pump,
                 Dialogs& dialogs, std::string programFolder, QObject* parent = nullptr);
    ~FileListDrag() override;

    // The local paths of a drag, as file-system bytes; empty unless every
    // URL is a local file (a drag that is not a file list).
    static std::vector<std::string> LocalPaths(const QMimeData* data);

    const ListReorder& Reorder() const { return *reorder_; }

    // What a drop does with its paths; by default they are added to the list.
    void SetDropHandler(std::function<void(const std::vector<std::string>&)> handler) {
        dropHandler_ = std::move(handler);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ViewList;
    void Drop(QDropEvent* event);

    FileListView& view_;
    EventPump& pump_;
    Dialogs& dialogs_;
    std::unique_ptr<ViewList> list_;
    std::unique_ptr<ListReorder> reorder_;
    std::function<void(const std::vector<std::string>&)> dropHandler_;
};

}  // namespace verrolift
