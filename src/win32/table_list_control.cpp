#include "win32/table_list_control.h"

#include "win32/wide_window_text.h"

namespace verrolift::win32 {

int TableListControl::Count() const {
    const auto count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

std::string TableListControl::At(int index) const {
    const auto length = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return Utf8(text);
}

void TableListControl::Append(const std::string& name) {
    // Not LB_ADDSTRING: a sorted list box would put it elsewhere.
    SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(Wide(name).c_str()));
}

void TableListControl::InsertAtTop(const std::string& name) {
    SendMessageW(list_, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
}

void TableListControl::Clear() {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}

std::optional<std::string> TableListControl::Selected() const {
    const auto index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return std::nullopt;
    return At(static_cast<int>(index));
}

}  // namespace verrolift::win32
