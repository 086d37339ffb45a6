#include "win32/file_list_control.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/command_guard.h"
#include "app/file_list_look.h"
#include "app/program_files.h"
#include "win32/twips.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

int XOf(LPARAM point) {
    return static_cast<short>(LOWORD(point));
}
int YOf(LPARAM point) {
    return static_cast<short>(HIWORD(point));
}

// An entry followed by the number it was given when added: rows never move, texts do, and a
// removed entry is no longer found.
class EntryRef : public ListItemRef {
public:
    EntryRef(HWND list, LPARAM id) : list_(list), id_(id) {}
    int Position() const override {
        LVFINDINFOW find{};
        find.flags = LVFI_PARAM;
        find.lParam = id_;
        const auto index = SendMessageW(list_, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(&find));
        return index < 0 ? 0 : static_cast<int>(index) + 1;
    }

private:
    HWND list_;
    LPARAM id_;
};

}  // namespace

FileListControl::FileListControl(HWND list, WindowPointer& windowPointer, std::string programFolder)
    : list_(list), programFolder_(std::move(programFolder)), reorder_(*this, windowPointer) {
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SetWindowSubclass(list_, &FileListControl::Subclass, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
    DragAcceptFiles(list_, TRUE);

    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               GetParent(list_), nullptr, GetModuleHandleW(nullptr), nullptr);
    std::wstring hint = Wide(kFileListHint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(list_);
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = hint.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 400);
}

FileListControl::~FileListControl() {
    RemoveWindowSubclass(list_, &FileListControl::Subclass, kSubclassId);
    SetListCursor(nullptr, false);
}

int FileListControl::Count() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string FileListControl::At(int index) const {
    return Text(index + 1);
}

void FileListControl::AddEntry(const std::string& text) {
    AddEntries({text});
}

void FileListControl::AddEntries(const std::vector<std::string>& texts) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    for (const std::string& text : texts) {
        std::wstring wide = Wide(text);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = Count();
        item.pszText = wide.data();
        item.lParam = nextId_++;
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void FileListControl::RemoveSelectedEntry() {
    if (busy_ && busy_()) return;
    const int position = SelectedPosition();
    if (position == 0) return;
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(position - 1), 0);
}

void FileListControl::EnsureColumn() {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    if (header && SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) > 0) return;
    std::wstring title = Wide(kFileListHeader);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title.data();
    column.cx = Pixels(kFileListColumnTwips, DpiOf(list_));
    SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void FileListControl::SetColumnWidthTwips(int twips) {
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(Pixels(twips, DpiOf(list_)), 0));
}

void FileListControl::Notified(const NMHDR& header) {
    if (header.code == NM_DBLCLK) {
        RemoveSelectedEntry();
    } else if (header.code == LVN_KEYDOWN) {
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) RemoveSelectedEntry();
    }
}

int FileListControl::SelectedPosition() const {
    const auto index =
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0));
    return index < 0 ? 0 : static_cast<int>(index) + 1;
}

void FileListControl::ShowBusyPointer(bool busy) {
    busyPointer_ = busy;
}

std::string FileListControl::Text(int position) const {
    if (position < 1 || position > Count()) return {};
    std::wstring text(260, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(position - 1),
                                         reinterpret_cast<LPARAM>(&item));
        // A text that fills the buffer may have been cut: try again with more room.
        if (static_cast<std::size_t>(length) + 1 < text.size()) {
            text.resize(static_cast<std::size_t>(length));
            return Utf8(text);
        }
        text.resize(text.size() * 2);
    }
}

void FileListControl::SetText(int position, const std::string& text) {
    if (position < 1 || position > Count()) return;
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = wide.data();
    SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(position - 1),
                 reinterpret_cast<LPARAM>(&item));
}

std::shared_ptr<ListItemRef> FileListControl::Ref(int position) const {
    if (position < 1) return nullptr;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = position - 1;
    if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return std::make_shared<EntryRef>(list_, item.lParam);
}

std::shared_ptr<ListItemRef> FileListControl::SelectedItem() const {
    return Ref(SelectedPosition());
}

std::shared_ptr<ListItemRef> FileListControl::ItemAt(int x, int y) const {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    const auto index = SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (index < 0 || !(hit.flags & LVHT_ONITEM)) return nullptr;
    return Ref(static_cast<int>(index) + 1);
}

void FileListControl::Select(int position) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (position < 1 || position > Count()) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(position - 1),
                 reinterpret_cast<LPARAM>(&item));
}

void FileListControl::ScrollIntoView(int position) {
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(position - 1), FALSE);
}

void FileListControl::ShowDragPointer() {
    // Read anew on each use, so that a replaced file shows at once; without a readable
    // "drag.ico" the hand serves.
    const std::wstring path = Wide(ProgramFile(programFolder_, kDragPointerFile));
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    if (cursor)
        SetListCursor(cursor, true);
    else
        SetListCursor(LoadCursorW(nullptr, IDC_HAND), false);
}

void FileListControl::ShowArrowPointer() {
    SetListCursor(LoadCursorW(nullptr, IDC_ARROW), false);
}

int FileListControl::PointerScreenY() const {
    POINT at{};
    GetCursorPos(&at);
    return at.y;
}

void FileListControl::SetListCursor(HCURSOR cursor, bool owned) {
    if (listCursorOwned_ && listCursor_) DestroyCursor(listCursor_);
    listCursor_ = cursor;
    listCursorOwned_ = owned;
    POINT at{};
    if (cursor && GetCursorPos(&at) && WindowFromPoint(at) == list_) SetCursor(cursor);
}

void FileListControl::Dropped(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(Utf8(path));
    }
    DragFinish(drop);
    if (paths.empty() || !dropHandler_) return;
    // The scan of a dropped folder yields; a closing program ends it there.
    RunGuarded([&] { dropHandler_(paths); });
}

void FileListControl::MouseDown(WPARAM wParam, LPARAM lParam) {
    reorder_.MouseDown();
    // The list selects the entry, and waits to see whether the mouse drags; the button may
    // be up again by the time it returns.
    DefSubclassProc(list_, WM_LBUTTONDOWN, wParam, lParam);
    if (ItemAt(XOf(lParam), YOf(lParam))) reorder_.ItemClick();
    if (GetKeyState(VK_LBUTTON) < 0)
        SetCapture(list_);
    else
        reorder_.MouseUp();
}

LRESULT CALLBACK FileListControl::Subclass(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<FileListControl*>(self)->Handle(message, wParam, lParam);
}

LRESULT FileListControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DROPFILES:
            Dropped(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            MouseDown(wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            reorder_.MouseMove(XOf(lParam), YOf(lParam));
            // While an entry is dragged the list must not select, scroll or drag on its own.
            if (reorder_.ButtonDown()) return 0;
            break;
        case WM_LBUTTONUP:
            if (reorder_.ButtonDown()) {
                reorder_.MouseUp();
                if (GetCapture() == list_) ReleaseCapture();
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (reorder_.ButtonDown()) reorder_.MouseUp();
            break;
        case WM_SETCURSOR:
            if (busyPointer_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (listCursor_ && LOWORD(lParam) == HTCLIENT) {
                SetCursor(listCursor_);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(list_, message, wParam, lParam);
}

}  // namespace verrolift::win32
