#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/file_list_view.h"
#include "ui/look.h"

namespace verrolift {
namespace {

class FileListViewTest : public ::testing::Test {
protected:
    FileListViewTest() {
        view.resize(400, 200);
        view.EnsureColumn();
        view.SetBusyTest([this] { return busy; });
        view.show();
    }
    void Fill(int n) {
        for (int i = 1; i <= n; ++i) view.AddEntry("/data/f" + std::to_string(i) + ".txt");
    }
    QPoint RowCentre(int position) {
        view.doItemsLayout();
        return view.visualItemRect(view.topLevelItem(position - 1)).center();
    }

    // The first click of a double-click, then the double-click itself.
    void DoubleClick(QPoint at) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
    }

    FileListView view;
    bool busy = false;
};

TEST_F(FileListViewTest, HintTextIsExact) {
    EXPECT_EQ(view.toolTip().toStdString(),
              "Drag and drop files here. Double-click item to remove it. Move | line to right and "
              "out of window to reveal full names.");
}

TEST_F(FileListViewTest, OneColumnHeadedTextFilesEvenWhenAskedTwice) {
    view.EnsureColumn();
    view.SetColumnWidthTwips(kFileListColumnTwips);
    EXPECT_EQ(view.columnCount(), 1);
    EXPECT_EQ(view.headerItem()->text(0), QStringLiteral("Text Files"));
    EXPECT_FALSE(view.isHeaderHidden());
    EXPECT_EQ(view.columnWidth(0), TwipsToPixels(5000));
}

TEST_F(FileListViewTest, EntriesAreAppendedInOrderWithDuplicates) {
    view.AddEntry("/a.txt");
    view.AddEntries({"/b.txt", "/a.txt"});
    EXPECT_EQ(view.Snapshot(), (std::vector<std::string>{"/a.txt", "/b.txt", "/a.txt"}));
    EXPECT_EQ(view.Count(), 3);
    EXPECT_EQ(view.At(2), "/b.txt");
}

TEST_F(FileListViewTest, EntryKeepsItsBytesExactly) {
    // Not valid in the code page's encoding: shown as best it can, kept as given.
    const std::string odd = "/data/caf\xe9\xff.txt";
    view.AddEntry(odd);
    EXPECT_EQ(view.At(1), odd);
}

class DeleteKey : public FileListViewTest,
                  public ::testing::WithParamInterface<Qt::KeyboardModifiers> {};

TEST_P(DeleteKey, RemovesTheSelectedEntryWhateverTheModifiers) {
    Fill(3);
    view.SelectEntry(2);
    QTest::keyClick(&view, Qt::Key_Delete, GetParam());
    EXPECT_EQ(view.Snapshot(), (std::vector<std::string>{"/data/f1.txt", "/data/f3.txt"}));
}

INSTANTIATE_TEST_SUITE_P(FileList, DeleteKey,
                         ::testing::Values(Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                           Qt::AltModifier,
                                           Qt::ShiftModifier | Qt::ControlModifier));

class OtherKey : public FileListViewTest, public ::testing::WithParamInterface<Qt::Key> {};

TEST_P(OtherKey, RemovesNothing) {
    Fill(3);
    view.SelectEntry(2);
    QTest::keyClick(&view, GetParam());
    EXPECT_EQ(view.Count(), 3);
}

INSTANTIATE_TEST_SUITE_P(FileList, OtherKey,
                         ::testing::Values(Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Space,
                                           Qt::Key_X, Qt::Key_Escape, Qt::Key_Insert));

TEST_F(FileListViewTest, DoubleClickRemovesTheEntryClicked) {
    Fill(3);
    DoubleClick(RowCentre(1));
    EXPECT_EQ(view.Snapshot(), (std::vector<std::string>{"/data/f2.txt", "/data/f3.txt"}));
}

TEST_F(FileListViewTest, DoubleClickBelowTheEntriesRemovesTheSelectedOne) {
    Fill(2);
    view.SelectEntry(1);
    // The double-click event itself, on empty space: the handler acts on the selection.
    const QPoint below(50, 150);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, below, view.viewport()->mapToGlobal(below),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &dbl);
    EXPECT_EQ(view.Snapshot(), std::vector<std::string>{"/data/f2.txt"});
}

TEST_F(FileListViewTest, EmptyListIgnoresDoubleClickAndDelete) {
    DoubleClick(QPoint(20, 20));
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(view.Count(), 0);
}

TEST_F(FileListViewTest, NothingSelectedRemovesNothing) {
    Fill(2);
    view.SelectEntry(0);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(view.Count(), 2);
}

TEST_F(FileListViewTest, BusyWindowRemovesNothing) {
    Fill(3);
    view.SelectEntry(2);
    busy = true;
    QTest::keyClick(&view, Qt::Key_Delete);
    QTest::keyClick(&view, Qt::Key_Delete, Qt::ShiftModifier);
    DoubleClick(RowCentre(2));
    EXPECT_EQ(view.Count(), 3);
    busy = false;
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(view.Count(), 2);
}

TEST_F(FileListViewTest, RemovingTheThirdOfFiveMovesTheRestUp) {
    Fill(5);
    view.SelectEntry(3);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(view.At(3), "/data/f4.txt");
    EXPECT_EQ(view.At(4), "/data/f5.txt");
    EXPECT_EQ(view.Count(), 4);
}

TEST_F(FileListViewTest, RemovingOneOfTwoEqualEntriesLeavesTheOther) {
    view.AddEntry("/same.txt");
    view.AddEntry("/same.txt");
    view.SelectEntry(1);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(view.Snapshot(), std::vector<std::string>{"/same.txt"});
}

TEST_F(FileListViewTest, PositionsTextsAndSelectionForDragging) {
    Fill(3);
    EXPECT_EQ(view.PositionAt(RowCentre(3)), 3);
    EXPECT_EQ(view.PositionAt(QPoint(50, 190)), 0);
    view.SetEntryText(1, "/swapped.txt");
    EXPECT_EQ(view.EntryText(1), "/swapped.txt");
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("/swapped.txt"));
    view.SelectEntry(3);
    EXPECT_EQ(view.SelectedPosition(), 3);
    view.SelectEntry(0);
    EXPECT_EQ(view.SelectedPosition(), 0);
    EXPECT_EQ(view.EntryText(9), "");
}

TEST_F(FileListViewTest, ListCursorIsTheListsOwn) {
    view.SetListCursor(QCursor(Qt::DragMoveCursor));
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::DragMoveCursor);
    view.ResetListCursor();
    EXPECT_FALSE(view.viewport()->testAttribute(Qt::WA_SetCursor));
}

}  // namespace
}  // namespace verrolift
