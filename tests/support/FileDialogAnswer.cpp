// File-dialog answering through a WH_CBT hook on the test thread.
#include "support/FileDialogAnswer.h"

#include <dlgs.h>

namespace testsupport {

namespace {
FileDialogAnswer* current = nullptr;
}

FileDialogAnswer::FileDialogAnswer(std::wstring name, int filterIndex) : name_(std::move(name)), filterIndex_(filterIndex)
{
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

FileDialogAnswer::~FileDialogAnswer()
{
    if (hook_) UnhookWindowsHookEx(hook_);
    current = nullptr;
}

// The dialog may activate before it has filled its controls: answer once its loop runs.
void CALLBACK FileDialogAnswer::Answer(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (!current || !IsWindow(current->dialog_)) return;
    FileDialogAnswer& self = *current;
    HWND dialog = self.dialog_;
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (!nameBox) nameBox = GetDlgItem(dialog, edt1);
    HWND filters = GetDlgItem(dialog, cmb1);
    wchar_t text[1024] = {};
    GetWindowTextW(nameBox, text, 1024);
    self.initialName_ = text;
    self.filterChoices_.clear();
    int count = static_cast<int>(SendMessageW(filters, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        text[0] = 0;
        SendMessageW(filters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        if (i) self.filterChoices_ += L"|";
        self.filterChoices_ += text;
    }
    if (self.name_.empty()) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    if (self.filterIndex_ > 0) {
        SendMessageW(filters, CB_SETCURSEL, self.filterIndex_ - 1, 0);
        // As a user's pick: the list reports the end of the selection, then the change.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(filters));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(filters));
    }
    SetWindowTextW(nameBox, self.name_.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

LRESULT CALLBACK FileDialogAnswer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && current) {
        HWND dialog = reinterpret_cast<HWND>(wParam);
        wchar_t cls[32] = {};
        GetClassNameW(dialog, cls, 32);
        bool hasName = GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1);
        if (lstrcmpW(cls, L"#32770") == 0 && hasName && GetDlgItem(dialog, cmb1) && dialog != current->dialog_) {
            ++current->shown_;
            current->dialog_ = dialog;
            SetTimer(nullptr, 0, 0, Answer);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace testsupport
