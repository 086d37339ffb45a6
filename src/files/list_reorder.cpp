#include "files/list_reorder.h"

namespace verrolift {

void ListReorder::MouseDown() {
    buttonDown_ = true;
}

void ListReorder::ItemClick() {
    list_.ShowDragPointer();
    dragged_ = list_.SelectedItem();
}

void ListReorder::MouseMove(int x, int y) {
    // Hover feedback first, which never replaces the busy pointer.
    if (windowPointer_.Pointer() != PointerShape::Busy)
        windowPointer_.SetPointer(PointerShape::Default);
    if (!buttonDown_) return;

    const std::shared_ptr<ListItemRef> hover = list_.ItemAt(x, y);
    if (!hover || !dragged_) return;
    // An entry removed since it was taken takes part in no exchange.
    const int from = dragged_->Position();
    const int to = hover->Position();
    if (from < 1 || to < 1) return;
    const std::string draggedText = list_.Text(from);
    const std::string hoverText = list_.Text(to);
    if (draggedText == hoverText) return;

    list_.SetText(from, hoverText);
    list_.SetText(to, draggedText);
    list_.Select(to);
    dragged_ = hover;

    const int screenY = list_.PointerScreenY();
    if (screenY < kScrollUpBelowY) {
        if (to >= 2) list_.ScrollIntoView(to - 1);
    } else if (screenY >= kScrollDownFromY && to < list_.Count()) {
        list_.ScrollIntoView(to + 1);
    }
}

void ListReorder::MouseUp() {
    buttonDown_ = false;
    list_.ShowArrowPointer();
}

}  // namespace verrolift
