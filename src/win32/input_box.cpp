#include "win32/input_box.h"

#include <algorithm>

#include "base/failure.h"
#include "win32/dialog_template.h"
#include "win32/owner_centring.h"
#include "win32/wide_window_text.h"

namespace verrolift::win32 {

namespace {

// The layout in dialog units: the prompt at the top left with OK and Cancel beside it,
// the answer across the foot.
constexpr short kWidth = 270;
constexpr short kHeight = 92;
constexpr short kMargin = 7;
constexpr short kButtonWidth = 54;
constexpr short kButtonHeight = 14;
constexpr short kPromptWidth = kWidth - 3 * kMargin - kButtonWidth;
constexpr short kPromptHeight = 52;
constexpr short kAnswerTop = kHeight - kMargin - 14;

struct Exchange {
    std::wstring prompt;
    std::wstring answer;
    HWND owner;
};

int PixelsToGrow(HWND box, HWND prompt, const std::wstring& text) {
    RECT area{};
    GetClientRect(prompt, &area);
    const int shown = area.bottom;
    HDC dc = GetDC(prompt);
    if (!dc) return 0;
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(prompt, dc);
    return std::max(0, static_cast<int>(area.bottom) - shown);
}

// A prompt longer than its room makes the box taller, the answer moving down with it.
void MakeRoomForPrompt(HWND box, const std::wstring& text) {
    const HWND prompt = GetDlgItem(box, kInputBoxPromptId);
    const int grow = PixelsToGrow(box, prompt, text);
    if (grow == 0) return;
    const auto resize = [grow](HWND window, bool move) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(window, nullptr, r.left, r.top + (move ? grow : 0), r.right - r.left,
                     r.bottom - r.top + (move ? 0 : grow), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(prompt, false);
    resize(GetDlgItem(box, kInputBoxAnswerId), true);
    RECT frame{};
    GetWindowRect(box, &frame);
    SetWindowPos(box, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring TextOfAnswer(HWND box) {
    const HWND answer = GetDlgItem(box, kInputBoxAnswerId);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(answer)) + 1, L'\0');
    const int got = GetWindowTextW(answer, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

INT_PTR CALLBACK OnMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* exchange = reinterpret_cast<Exchange*>(lParam);
            SetWindowLongPtrW(box, DWLP_USER, lParam);
            SetDlgItemTextW(box, kInputBoxPromptId, exchange->prompt.c_str());
            SetDlgItemTextW(box, kInputBoxAnswerId, exchange->answer.c_str());
            MakeRoomForPrompt(box, exchange->prompt);
            CentreOverOwner(box, exchange->owner);
            const HWND answer = GetDlgItem(box, kInputBoxAnswerId);
            SendMessageW(answer, EM_SETSEL, 0, -1);
            SetFocus(answer);
            // The focus is set: the dialog manager leaves it there.
            return FALSE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id != IDOK && id != IDCANCEL) return FALSE;
            auto* exchange = reinterpret_cast<Exchange*>(GetWindowLongPtrW(box, DWLP_USER));
            exchange->answer = id == IDOK ? TextOfAnswer(box) : std::wstring();
            EndDialog(box, id);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

std::string AskInInputBox(HWND owner, const std::string& caption, const std::string& prompt,
                          const std::string& defaultAnswer) {
    using Control = DialogTemplate::Control;
    DialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, kWidth, kHeight,
                          Wide(caption));
    layout.Add(Control::Static, kInputBoxPromptId, SS_LEFT | SS_NOPREFIX, kMargin, kMargin,
               kPromptWidth, kPromptHeight);
    layout.Add(Control::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP,
               kWidth - kMargin - kButtonWidth, kMargin, kButtonWidth, kButtonHeight, L"OK");
    layout.Add(Control::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP,
               kWidth - kMargin - kButtonWidth, kMargin + kButtonHeight + 4, kButtonWidth,
               kButtonHeight, L"Cancel");
    layout.Add(Control::Edit, kInputBoxAnswerId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin,
               kAnswerTop, kWidth - 2 * kMargin, 14);

    Exchange exchange{Wide(prompt), Wide(defaultAnswer), owner};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner,
                                                   &OnMessage, reinterpret_cast<LPARAM>(&exchange));
    if (result == -1 || result == 0) throw Failure("Cannot show the input box");
    return result == IDOK ? Utf8(exchange.answer) : std::string();
}

}  // namespace verrolift::win32
