#include "files/list_reorder.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_dialogs.h"

namespace verrolift {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Rows of 10 pixels from y = 0; entries keep an identity of their own.
class FakeList : public ReorderableList {
public:
    explicit FakeList(std::vector<std::string> texts) {
        for (auto& text : texts) rows_.push_back({nextId_++, std::move(text)});
    }

    int Count() const override { return static_cast<int>(rows_.size()); }
    std::string Text(int position) const override { return rows_.at(position - 1).text; }
    void SetText(int position, const std::string& text) override {
        rows_.at(position - 1).text = text;
        ++textChanges;
    }
    std::shared_ptr<ListItemRef> SelectedItem() const override {
        return selected ? Ref(rows_.at(selected - 1).id) : nullptr;
    }
    std::shared_ptr<ListItemRef> ItemAt(int, int y) const override {
        const int position = y / 10 + 1;
        if (y < 0 || position > Count()) return nullptr;
        return Ref(rows_.at(position - 1).id);
    }
    void Select(int position) override { selected = position; }
    void ScrollIntoView(int position) override { scrolled.push_back(position); }
    void ShowDragPointer() override { pointer.push_back("drag"); }
    void ShowArrowPointer() override { pointer.push_back("arrow"); }
    int PointerScreenY() const override { return screenY; }

    void Remove(int position) {
        rows_.erase(rows_.begin() + (position - 1));
        if (selected >= position) selected = selected == position ? 0 : selected - 1;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& row : rows_) out.push_back(row.text);
        return out;
    }
    static int Y(int position) { return (position - 1) * 10 + 5; }

    int selected = 0;
    int screenY = 330;  // between the bands
    int textChanges = 0;
    std::vector<int> scrolled;
    std::vector<std::string> pointer;

private:
    struct Row {
        int id;
        std::string text;
    };
    class RowRef : public ListItemRef {
    public:
        RowRef(const FakeList& list, int id) : list_(list), id_(id) {}
        int Position() const override {
            for (std::size_t i = 0; i < list_.rows_.size(); ++i)
                if (list_.rows_[i].id == id_) return static_cast<int>(i) + 1;
            return 0;
        }

    private:
        const FakeList& list_;
        int id_;
    };
    std::shared_ptr<ListItemRef> Ref(int id) const { return std::make_shared<RowRef>(*this, id); }

    std::vector<Row> rows_;
    int nextId_ = 1;
};

class InListDrag : public ::testing::Test {
protected:
    // Press on an entry: the list selects it, then reports the item click.
    void PressOn(int position) {
        drag.MouseDown();
        list.Select(position);
        drag.ItemClick();
    }
    void MoveTo(int position) { drag.MouseMove(0, FakeList::Y(position)); }

    FakeList list{{"first", "second", "third"}};
    test::RecordingPointer window;
    ListReorder drag{list, window};
};

TEST_F(InListDrag, DraggingFirstDownOverSecondAndThird) {
    PressOn(1);
    MoveTo(2);
    MoveTo(3);
    drag.MouseUp();
    EXPECT_THAT(list.Texts(), ElementsAre("second", "third", "first"));
    EXPECT_EQ(list.selected, 3);
    EXPECT_THAT(list.pointer, ElementsAre("drag", "arrow"));
    EXPECT_FALSE(drag.ButtonDown());
}

TEST_F(InListDrag, JumpOverSeveralEntriesExchangesOnlyTheTwoEnds) {
    PressOn(1);
    MoveTo(3);
    EXPECT_THAT(list.Texts(), ElementsAre("third", "second", "first"));
}

TEST_F(InListDrag, DraggingUpAgainBringsTheTextBack) {
    PressOn(1);
    MoveTo(2);
    MoveTo(3);
    MoveTo(2);
    MoveTo(1);
    EXPECT_THAT(list.Texts(), ElementsAre("first", "second", "third"));
    EXPECT_EQ(list.selected, 1);
}

TEST_F(InListDrag, EqualTextIsNotExchanged) {
    FakeList same{{"a.txt", "a.txt", "b.txt"}};
    ListReorder sameDrag{same, window};
    sameDrag.MouseDown();
    same.Select(1);
    sameDrag.ItemClick();
    sameDrag.MouseMove(0, FakeList::Y(2));
    EXPECT_EQ(same.textChanges, 0);
    EXPECT_EQ(same.selected, 1);
    EXPECT_EQ(sameDrag.DraggedPosition(), 1);  // still the entry taken
    EXPECT_THAT(same.scrolled, IsEmpty());
}

TEST_F(InListDrag, MovingOverItsOwnEntryOrEmptySpaceChangesNothing) {
    PressOn(2);
    MoveTo(2);
    drag.MouseMove(0, 500);  // below the last entry
    EXPECT_THAT(list.Texts(), ElementsAre("first", "second", "third"));
    EXPECT_EQ(list.textChanges, 0);
}

TEST_F(InListDrag, NothingMovesWithoutTheButtonHeld) {
    list.Select(1);
    drag.ItemClick();
    MoveTo(2);
    EXPECT_EQ(list.textChanges, 0);
    PressOn(1);
    drag.MouseUp();
    MoveTo(2);
    EXPECT_EQ(list.textChanges, 0);
}

TEST_F(InListDrag, PressOutsideEntriesMovesTheTextTakenLast) {
    PressOn(1);
    MoveTo(2);  // "first" now at 2
    drag.MouseUp();
    drag.MouseDown();  // on empty space: no item click
    MoveTo(3);
    EXPECT_THAT(list.Texts(), ElementsAre("second", "third", "first"));
}

TEST_F(InListDrag, RemovedDraggedEntryTakesPartInNoExchange) {
    FakeList four{{"a", "b", "c", "d"}};
    ListReorder fourDrag{four, window};
    fourDrag.MouseDown();
    four.Select(2);
    fourDrag.ItemClick();
    four.Remove(2);
    EXPECT_EQ(fourDrag.DraggedPosition(), 0);
    fourDrag.MouseMove(0, FakeList::Y(1));
    fourDrag.MouseMove(0, FakeList::Y(3));
    EXPECT_THAT(four.Texts(), ElementsAre("a", "c", "d"));
    EXPECT_EQ(four.textChanges, 0);
}

TEST_F(InListDrag, DraggedEntryFollowsWhenAnEntryAboveIsRemoved) {
    FakeList four{{"a", "b", "c", "d"}};
    ListReorder fourDrag{four, window};
    fourDrag.MouseDown();
    four.Select(3);
    fourDrag.ItemClick();
    four.Remove(1);  // "c" now at 2
    fourDrag.MouseMove(0, FakeList::Y(3));
    EXPECT_THAT(four.Texts(), ElementsAre("b", "d", "c"));
}

TEST_F(InListDrag, HoverResetsTheWindowPointerUnlessBusy) {
    window.SetPointer(PointerShape::Custom);
    MoveTo(1);
    EXPECT_EQ(window.current, PointerShape::Default);
    window.SetPointer(PointerShape::Busy);
    PressOn(1);
    MoveTo(2);
    EXPECT_EQ(window.current, PointerShape::Busy);
    EXPECT_THAT(list.Texts(), ElementsAre("second", "first", "third"));  // dragging still works
}

// ---- Scroll bands ----------------------------------------------------------

struct BandCase {
    int screenY;
    int from;
    int onto;
    std::vector<int> scrolled;
};

void PrintTo(const BandCase& c, std::ostream* os) {
    *os << "y=" << c.screenY << " " << c.from << "->" << c.onto;
}

class ScrollBands : public ::testing::TestWithParam<BandCase> {};

TEST_P(ScrollBands, RevealTheNeighbourOfTheEntryDraggedOnto) {
    FakeList six{{"1", "2", "3", "4", "5", "6"}};
    test::RecordingPointer window;
    ListReorder drag{six, window};
    drag.MouseDown();
    six.Select(GetParam().from);
    drag.ItemClick();
    six.screenY = GetParam().screenY;
    drag.MouseMove(0, FakeList::Y(GetParam().onto));
    EXPECT_EQ(six.scrolled, GetParam().scrolled);
}

INSTANTIATE_TEST_SUITE_P(Bands, ScrollBands,
                         ::testing::Values(BandCase{304, 2, 4, {3}},  // upper band: the entry above
                                           BandCase{0, 2, 4, {3}},    //
                                           BandCase{
                                               -20, 2, 4, {3}},      // above a screen placed higher
                                           BandCase{304, 2, 1, {}},  // nothing above entry 1
                                           BandCase{305, 2, 4, {}},  // the quiet band
                                           BandCase{364, 2, 4, {}},  //
                                           BandCase{365, 2, 4, {5}},  // lower band: the entry below
                                           BandCase{2000, 2, 4, {5}},  //
                                           BandCase{365, 2, 6, {}},  // nothing below the last entry
                                           BandCase{365, 6, 5, {6}}));

TEST(ScrollBandsNoExchange, NothingScrollsWithoutAnExchange) {
    FakeList same{{"x", "x", "x", "x"}};
    test::RecordingPointer window;
    ListReorder drag{same, window};
    drag.MouseDown();
    same.Select(2);
    drag.ItemClick();
    same.screenY = 10;
    drag.MouseMove(0, FakeList::Y(4));
    EXPECT_THAT(same.scrolled, IsEmpty());
}

}  // namespace
}  // namespace verrolift
