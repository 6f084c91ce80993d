// Message-box answering through a WH_CBT hook on the test thread.
#include "support/MessageBoxAnswer.h"

namespace testsupport {

namespace {
MessageBoxAnswer* current = nullptr;
}

MessageBoxAnswer::MessageBoxAnswer(int button) : button_(button)
{
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswer::~MessageBoxAnswer()
{
    if (hook_) UnhookWindowsHookEx(hook_);
    current = nullptr;
}

LRESULT CALLBACK MessageBoxAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && current) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[32] = {};
        GetClassNameW(box, cls, 32);
        // Only message boxes: they hold their text in a static of id 0xFFFF.
        if (lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(box, 0xFFFF)) {
            MessageBoxAnswer& self = *current;
            ++self.shown_;
            self.box_ = box;
            wchar_t text[2048] = {};
            GetWindowTextW(box, text, 2048);
            self.caption_ = text;
            text[0] = 0;
            GetDlgItemTextW(box, 0xFFFF, text, 2048);
            self.text_ = text;
            self.buttons_ = 0;
            for (int id = IDOK; id <= IDCONTINUE; ++id)
                if (GetDlgItem(box, id)) self.buttons_ |= 1u << id;
            LRESULT def = SendMessageW(box, DM_GETDEFID, 0, 0);
            self.defaultButton_ = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : 0;
            if (self.focusBox_ == box) self.defaultButton_ = self.focusId_;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(self.button_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, self.button_)));
        }
    }
    // A box gives the focus to its default button while it starts, which may follow its
    // activation; the posted answer arrives only after that.
    if (code == HCBT_SETFOCUS && current) {
        HWND focus = reinterpret_cast<HWND>(wParam);
        HWND parent = focus ? GetParent(focus) : nullptr;
        wchar_t cls[32] = {};
        if (parent) GetClassNameW(parent, cls, 32);
        if (lstrcmpW(cls, L"#32770") == 0) {
            current->focusBox_ = parent;
            current->focusId_ = GetDlgCtrlID(focus);
            if (parent == current->box_) current->defaultButton_ = current->focusId_;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace testsupport
