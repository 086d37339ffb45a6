#include "ui/file_list_drag.h"

#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_dialogs.h"
#include "support/temp_dir.h"
#include "ui/file_list_view.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FileListDragTest : public ::testing::Test {
protected:
    FileListDragTest() {
        programFolder = dir.Path() + "/program";
        std::filesystem::create_directories(programFolder);
        view.resize(400, 200);
        view.EnsureColumn();
        drag = new FileListDrag(view, pointer, pump, dialogs, programFolder, &view);
    }

    QWidget* Viewport() { return view.viewport(); }
    QPoint RowCentre(int position) {
        return view.visualItemRect(view.topLevelItem(position - 1)).center();
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, Viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Press(int position) {
        Mouse(QEvent::MouseButtonPress, RowCentre(position), Qt::LeftButton);
    }
    void MoveOnto(int position) { Mouse(QEvent::MouseMove, RowCentre(position), Qt::LeftButton); }
    void Release(int position) { Mouse(QEvent::MouseButtonRelease, RowCentre(position), {}); }

    // A drag over the list with this data; true when the list accepts it.
    bool DragOver(const QMimeData& data) {
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(Viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
        move.setAccepted(false);
        QApplication::sendEvent(Viewport(), &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        return enter.isAccepted();
    }
    // As a real drag: the enter makes the list the drop target, then the drop.
    void DropData(const QMimeData& data) {
        DragOver(data);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &event);
    }
    static QMimeData* Files(const std::vector<std::string>& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const auto& p : paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
        data->setUrls(urls);
        return data;
    }
    std::string Write(const std::string& relative) { return dir.Write(relative, "x"); }

    test::TempDir dir;
    std::string programFolder;
    FileListView view;
    test::RecordingPointer pointer;
    test::RecordingPump pump;
    test::RecordingDialogs dialogs;
    FileListDrag* drag = nullptr;
};

// ---- Dropping -----------------------------------------------------------

TEST_F(FileListDragTest, TextIsRefusedAndDroppingItAddsNothing) {
    QMimeData text;
    text.setText("C:\\not\\a\\file.txt");
    EXPECT_FALSE(DragOver(text));
    EXPECT_THAT(FileListDrag::LocalPaths(&text), IsEmpty());
    DropData(text);
    EXPECT_EQ(view.Count(), 0);
}

TEST_F(FileListDragTest, RemoteAddressIsRefused) {
    QMimeData data;
    data.setUrls({QUrl("https://example.com/a.txt")});
    EXPECT_FALSE(DragOver(data));
    data.setUrls({QUrl::fromLocalFile("/tmp/a.txt"), QUrl("https://example.com/a.txt")});
    EXPECT_FALSE(DragOver(data));
    DropData(data);
    EXPECT_EQ(view.Count(), 0);
}

TEST_F(FileListDragTest, LocalFilesAreAccepted) {
    std::unique_ptr<QMimeData> data(Files({Write("a.txt")}));
    EXPECT_TRUE(DragOver(*data));
}

TEST_F(FileListDragTest, FileAndFolderTogetherAreAddedInDropOrder) {
    const std::string lone = Write("~lone.txt");  // kept: dropped by name
    Write("folder/b.csv");
    Write("folder/~skip.txt");
    Write("folder/.hidden");
    Write("folder/sub/c");
    const std::string folder = dir.File("folder");
    std::unique_ptr<QMimeData> data(Files({lone, folder}));
    DropData(*data);
    EXPECT_THAT(view.Snapshot(),
                ElementsAre(lone, dir.File("folder/b.csv"), dir.File("folder/sub/c")));
    EXPECT_THAT(pointer.history, IsEmpty());  // a drop never shows the busy pointer
    EXPECT_GT(pump.yields, 0);                // the folder scan yields
    EXPECT_TRUE(dialogs.reports.empty());
}

TEST_F(FileListDragTest, DroppedNameKeepsItsBytes) {
    const std::string odd = Write("caf\xc3\xa9 & co.txt");
    std::unique_ptr<QMimeData> data(Files({odd}));
    DropData(*data);
    EXPECT_THAT(view.Snapshot(), ElementsAre(odd));
}

// ---- Dragging inside the list ---------------------------------------------

class InListDragTest : public FileListDragTest {
protected:
    InListDragTest() {
        for (const char* text : {"first", "second", "third"}) view.AddEntry(text);
    }
};

TEST_F(InListDragTest, FirstDraggedOverSecondAndThirdEndsLast) {
    Press(1);
    MoveOnto(2);
    MoveOnto(3);
    Release(3);
    EXPECT_THAT(view.Snapshot(), ElementsAre("second", "third", "first"));
    EXPECT_EQ(view.SelectedPosition(), 3);
}

TEST_F(InListDragTest, EqualTextIsNotExchanged) {
    view.SetEntryText(2, "first");
    Press(1);
    MoveOnto(2);
    Release(2);
    EXPECT_THAT(view.Snapshot(), ElementsAre("first", "first", "third"));
}

TEST_F(InListDragTest, MovingWithoutButtonExchangesNothing) {
    Press(1);
    Release(1);
    Mouse(QEvent::MouseMove, RowCentre(3), Qt::NoButton);
    EXPECT_THAT(view.Snapshot(), ElementsAre("first", "second", "third"));
}

TEST_F(InListDragTest, RemovedEntryIsNotDraggedAnyMore) {
    Press(2);
    delete view.takeTopLevelItem(1);  // "second" leaves while held
    MoveOnto(1);
    MoveOnto(2);
    EXPECT_THAT(view.Snapshot(), ElementsAre("first", "third"));
}

TEST_F(InListDragTest, ClosedHandWithoutDragIconArrowAfterRelease) {
    Press(1);
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::ClosedHandCursor);
    EXPECT_FALSE(view.dragEnabled());
    Release(1);
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(InListDragTest, UnreadableDragIconFallsBackToClosedHand) {
    dir.Write("program/drag.ico", "not an icon");
    Press(1);
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::ClosedHandCursor);
}

TEST_F(InListDragTest, DragIconBesideTheProgramIsThePointer) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(programFolder + "/drag.ico"), "ICO"));
    Press(1);
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::BitmapCursor);
    Release(1);
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(InListDragTest, HoverResetsTheWindowPointerButNeverTheBusyOne) {
    pointer.SetPointer(PointerShape::Custom);
    Mouse(QEvent::MouseMove, RowCentre(2), Qt::NoButton);
    EXPECT_EQ(pointer.current, PointerShape::Default);
    pointer.SetPointer(PointerShape::Busy);
    Mouse(QEvent::MouseMove, RowCentre(3), Qt::NoButton);
    EXPECT_EQ(pointer.current, PointerShape::Busy);
}

// ---- Scroll bands -----------------------------------------------------------

class ScrollBandTest : public FileListDragTest {
protected:
    ScrollBandTest() {
        for (int i = 1; i <= 40; ++i) view.AddEntry("/data/f" + std::to_string(i) + ".txt");
        view.resize(300, 120);  // a handful of rows visible
    }
    bool Visible(int position) {
        const QRect rect = view.visualItemRect(view.topLevelItem(position - 1));
        return Viewport()->rect().contains(rect);
    }
    // The first row that is wholly visible.
    int FirstVisible() {
        for (int p = 1; p <= view.Count(); ++p)
            if (Visible(p)) return p;
        return 0;
    }
    int LastVisible() {
        int last = 0;
        for (int p = 1; p <= view.Count(); ++p)
            if (Visible(p)) last = p;
        return last;
    }
};

TEST_F(ScrollBandTest, LowerBandRevealsTheEntryBelow) {
    view.ScrollToEntry(1);
    const int last = LastVisible();
    ASSERT_GE(last, 3);
    ASSERT_FALSE(Visible(last + 1));
    QCursor::setPos(10, 365);
    Press(last - 1);
    MoveOnto(last);
    EXPECT_TRUE(Visible(last + 1));
    Release(last);
}

TEST_F(ScrollBandTest, UpperBandRevealsTheEntryAbove) {
    view.ScrollToEntry(40);
    const int first = FirstVisible();
    ASSERT_GE(first, 3);
    ASSERT_FALSE(Visible(first - 1));
    QCursor::setPos(10, 304);
    Press(first + 1);
    MoveOnto(first);
    EXPECT_TRUE(Visible(first - 1));
    Release(first);
}

TEST_F(ScrollBandTest, QuietBandScrollsNothing) {
    view.ScrollToEntry(1);
    const int last = LastVisible();
    QCursor::setPos(10, 330);
    Press(last - 1);
    MoveOnto(last);
    EXPECT_FALSE(Visible(last + 1));
    EXPECT_EQ(FirstVisible(), 1);
    Release(last);
}

}  // namespace
}  // namespace verrolift
