#include "win32/dialog_template.h"

namespace verrolift::win32 {

namespace {

constexpr WORD kShellFontPoints = 8;
constexpr std::wstring_view kShellFont = L"MS Shell Dlg";

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, short width, short height, std::wstring_view caption) {
    Put(static_cast<DWORD>(style | DS_SETFONT));
    Put(static_cast<DWORD>(0));  // extended style
    countAt_ = words_.size();
    Put(static_cast<WORD>(0));  // number of items, counted as they come
    for (short value : {short{0}, short{0}, width, height}) Put(static_cast<WORD>(value));
    Put(static_cast<WORD>(0));  // no menu
    Put(static_cast<WORD>(0));  // the standard dialog class
    Put(caption);
    Put(kShellFontPoints);
    Put(kShellFont);
}

void DialogTemplate::Add(Control control, int id, DWORD style, short x, short y, short width,
                         short height, std::wstring_view text) {
    Align();
    Put(static_cast<DWORD>(style | WS_CHILD | WS_VISIBLE));
    Put(static_cast<DWORD>(0));  // extended style
    for (short value : {x, y, width, height}) Put(static_cast<WORD>(value));
    Put(static_cast<WORD>(id));
    Put(static_cast<WORD>(0xFFFF));  // a predefined class by number follows
    Put(static_cast<WORD>(control));
    Put(text);
    Put(static_cast<WORD>(0));  // no creation data
    ++words_[countAt_];
}

const DLGTEMPLATE* DialogTemplate::Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

void DialogTemplate::Align() {
    if (words_.size() % 2 != 0) words_.push_back(0);
}

void DialogTemplate::Put(WORD word) {
    words_.push_back(word);
}

void DialogTemplate::Put(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::Put(std::wstring_view text) {
    for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
}

}  // namespace verrolift::win32
