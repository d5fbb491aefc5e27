// Reading and answering message boxes.
#include "support/message_box.h"

#include <algorithm>

namespace {

MessageBoxAnswerer* activeAnswerer;   // the one whose hook is installed

// A control the box shows. Its own style is read rather than
// IsWindowVisible, which is false for every control of a box that is not on
// screen yet, as when a CBT hook reads it on activation.
bool IsShown(HWND control)
{
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

BOOL CALLBACK FindVisibleIcon(HWND child, LPARAM found)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        IsShown(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

MessageBoxInfo ReadMessageBox(HWND box)
{
    MessageBoxInfo info;
    info.owner = GetWindow(box, GW_OWNER);
    wchar_t text[1024] = {};
    GetWindowTextW(box, text, 1024);
    info.caption = text;
    text[0] = L'\0';
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    info.text = text;
    EnumChildWindows(box, FindVisibleIcon, reinterpret_cast<LPARAM>(&info.hasIcon));
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button != nullptr && IsShown(button))
            info.buttons.push_back(id);
    }
    return info;
}

void AnswerMessageBox(HWND box, int button)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers,
                                       std::function<void(const MessageBoxInfo&)> onShow)
    : answers_(std::move(answers)), onShow_(std::move(onShow))
{
    activeAnswerer = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    UnhookWindowsHookEx(hook_);
    activeAnswerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxAnswerer* self = activeAnswerer;
    if (code == HCBT_ACTIVATE && self != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(box, className, 16);
        // A box is activated again when it gets the focus back: answer once.
        if (lstrcmpW(className, L"#32770") == 0 && !GetPropW(box, L"CorvaneTestAnswered")) {
            SetPropW(box, L"CorvaneTestAnswered", reinterpret_cast<HANDLE>(1));
            MessageBoxInfo info = ReadMessageBox(box);
            self->shown_.push_back(info);
            if (self->onShow_)
                self->onShow_(info);
            int answer;
            if (!self->answers_.empty()) {
                answer = self->answers_.front();
                self->answers_.erase(self->answers_.begin());
            } else {
                bool hasOk = std::find(info.buttons.begin(), info.buttons.end(), IDOK) !=
                             info.buttons.end();
                answer = hasOk ? IDOK : IDNO;
            }
            AnswerMessageBox(box, answer);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
