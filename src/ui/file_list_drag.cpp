#include "ui/file_list_drag.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QImageReader>
#include <QMimeData>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QUrl>

#include "app/command_guard.h"
#include "files/drop.h"
#include "ui/file_list_view.h"
#include "ui/look.h"

namespace verrolift {

namespace {

// An entry of the list, followed through moves; invalid once its row is removed.
class RowRef : public ListItemRef {
public:
    explicit RowRef(const QModelIndex& index) : index_(index) {}
    int Position() const override { return index_.isValid() ? index_.row() + 1 : 0; }

private:
    QPersistentModelIndex index_;
};

// The drag pointer, read anew on each use so that a replaced file shows at
// once; without a readable "drag.ico" the closed hand serves.
QCursor DragCursor(const std::string& programFolder) {
    const QString path = QString::fromLocal8Bit(ProgramFile(programFolder, kDragPointerFile));
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) return QCursor(Qt::ClosedHandCursor);
    return QCursor(QPixmap::fromImage(image));
}

}  // namespace

class FileListDrag::ViewList : public ReorderableList {
public:
    ViewList(FileListView& view, std::string programFolder)
        : view_(view), programFolder_(std::move(programFolder)) {}

    int Count() const override { return view_.Count(); }
    std::string Text(int position) const override { return view_.EntryText(position); }
    void SetText(int position, const std::string& text) override {
        view_.SetEntryText(position, text);
    }
    std::shared_ptr<ListItemRef> SelectedItem() const override {
        return Ref(view_.SelectedPosition());
    }
    std::shared_ptr<ListItemRef> ItemAt(int x, int y) const override {
        return Ref(view_.PositionAt(QPoint(x, y)));
    }
    void Select(int position) override { view_.SelectEntry(position); }
    void ScrollIntoView(int position) override { view_.ScrollToEntry(position); }
    void ShowDragPointer() override {
        view_.SetListCursor(DragCursor(programFolder_));
        // Dragging an entry never starts a drag out of the list.
        view_.setDragEnabled(false);
    }
    void ShowArrowPointer() override { view_.SetListCursor(QCursor(Qt::ArrowCursor)); }
    // Logical pixels from the top of the screen.
    int PointerScreenY() const override { return QCursor::pos().y(); }

private:
    std::shared_ptr<ListItemRef> Ref(int position) const {
        if (position < 1) return nullptr;
        return std::make_shared<RowRef>(view_.model()->index(position - 1, 0));
    }

    FileListView& view_;
    std::string programFolder_;
};

FileListDrag::FileListDrag(FileListView& view, WindowPointer& windowPointer, EventPump& pump,
                           Dialogs& dialogs, std::string programFolder, QObject* parent)
    : QObject(parent),
      view_(view),
      pump_(pump),
      dialogs_(dialogs),
      list_(std::make_unique<ViewList>(view, std::move(programFolder))),
      reorder_(std::make_unique<ListReorder>(*list_, windowPointer)) {
    view_.setDragEnabled(false);
    view_.setAcceptDrops(true);
    view_.viewport()->setAcceptDrops(true);
    // Moves without a button feed the hover feedback.
    view_.viewport()->setMouseTracking(true);
    view_.viewport()->installEventFilter(this);
    // The press has selected the entry by the time this is sent.
    connect(&view_, &QTreeWidget::itemPressed, this, [this] { reorder_->ItemClick(); });
}

FileListDrag::~FileListDrag() = default;

std::vector<std::string> FileListDrag::LocalPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) return {};
        paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return paths;
}

bool FileListDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_.viewport()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (LocalPaths(drag->mimeData()).empty())
                drag->ignore();  // not a file list: refused
            else
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop:
            Drop(static_cast<QDropEvent*>(event));
            return true;
        case QEvent::MouseButtonPress:
            reorder_->MouseDown();
            return false;  // the list selects the entry and reports the press
        case QEvent::MouseMove: {
            const auto* move = static_cast<QMouseEvent*>(event);
            const QPoint at = move->position().toPoint();
            reorder_->MouseMove(at.x(), at.y());
            // While an entry is dragged the list must not select, scroll or
            // start a drag on its own.
            return reorder_->ButtonDown();
        }
        case QEvent::MouseButtonRelease:
            reorder_->MouseUp();
            return false;
        default:
            return QObject::eventFilter(watched, event);
    }
}

void FileListDrag::Drop(QDropEvent* event) {
    const std::vector<std::string> paths = LocalPaths(event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The scan of a dropped folder yields; a closing program ends it there.
    RunGuarded([&] {
        if (dropHandler_)
            dropHandler_(paths);
        else
            DropOnFileList(paths, view_, pump_, dialogs_);
    });
}

}  // namespace verrolift
