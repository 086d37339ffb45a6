#pragma once

#include <memory>
#include <string>

#include "base/host.h"

namespace verrolift {

// Screen bands of the in-list drag, in logical pixels from the top of the
// screen: above the upper one the entry above is revealed, from the lower
// one on the entry below.
inline constexpr int kScrollUpBelowY = 305;
inline constexpr int kScrollDownFromY = 365;

// A reference to one entry of a list that outlives moves of the entry and
// knows when the entry has been removed.
class ListItemRef {
public:
    virtual ~ListItemRef() = default;
    // Position from 1; 0 once the entry is no longer in the list.
    virtual int Position() const = 0;
};

// What the in-list drag needs of the file list widget.
class ReorderableList {
public:
    virtual ~ReorderableList() = default;
    virtual int Count() const = 0;
    virtual std::string Text(int position) const = 0;  // 1-based
    virtual void SetText(int position, const std::string& text) = 0;
    virtual std::shared_ptr<ListItemRef> SelectedItem() const = 0;  // null when none
    virtual std::shared_ptr<ListItemRef> ItemAt(int x,
                                                int y) const = 0;  // hit test; null when none
    virtual void Select(int position) = 0;
    virtual void ScrollIntoView(int position) = 0;
    // The list's own pointer: the drag pointer while an entry is taken, the
    // arrow after a release. Taking an entry also keeps the list from
    // starting a drag of its own out of it.
    virtual void ShowDragPointer() = 0;
    virtual void ShowArrowPointer() = 0;
    // The pointer's vertical position on the screen.
    virtual int PointerScreenY() const = 0;
};

// Reordering the file list by dragging an entry up or down: the dragged
// text travels by exchanging texts with each entry the pointer moves onto;
// the rows stay where they are.
class ListReorder {
public:
    ListReorder(ReorderableList& list, WindowPointer& windowPointer)
        : list_(list), windowPointer_(windowPointer) {}

    void MouseDown();  // any button
    void ItemClick();  // the clicked entry is the list's selected one by now
    void MouseMove(int x, int y);
    void MouseUp();  // any button

    bool ButtonDown() const { return buttonDown_; }
    // The dragged entry's position; 0 when none, or when it has been removed.
    int DraggedPosition() const { return dragged_ ? dragged_->Position() : 0; }

private:
    ReorderableList& list_;
    WindowPointer& windowPointer_;  // the main window's
    bool buttonDown_ = false;
    std::shared_ptr<ListItemRef> dragged_;
};

}  // namespace verrolift
