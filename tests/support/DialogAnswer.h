// Answers the next real message box (presses a button) or common file dialog (types a name and
// presses Open/Save; an empty name cancels) of this thread.
// One WH_CBT hook serves both kinds; a box and a file dialog may be awaited at once.
#pragma once
#include "support/Processes.h"
#include <windows.h>
#include <dlgs.h>
#include <string>
#include <utility>

namespace testsupport
{

class DialogAnswer
{
  public:
    explicit DialogAnswer(int button) : kind_(0), button_(button) { Start(); }
    explicit DialogAnswer(std::wstring name) : kind_(1), name_(std::move(name)) { Start(); }
    ~DialogAnswer()
    {
        current[kind_] = previous_;
        if (--users == 0)
            UnhookWindowsHookEx(hook);
    }
    int Shown() const { return shown_; }
    const std::wstring& Text() const { return text_; }
    const std::wstring& Texts() const { return texts_; } // of every box answered, each after a LF
    const std::wstring& Caption() const { return caption_; }
    bool HadButton(int id) const { return (buttons_ >> id) & 1; }
    // The button that had the focus: a box focuses its default one as it starts, maybe after activating.
    int DefaultButton() const { return focusParent == window_ ? focusId : defaultId_; }
    const std::wstring& FilterChoices() const { return caption_; } // joined by "|"

  private:
    void Start()
    {
        previous_ = std::exchange(current[kind_], this);
        if (users++ == 0)
            hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    // A file dialog may activate before it has filled its controls: answered once its loop runs.
    static void CALLBACK AnswerFile(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        DialogAnswer* self = current[1];
        if (!self || !IsWindow(self->window_))
            return;
        HWND dialog = self->window_, filters = GetDlgItem(dialog, cmb1);
        HWND nameBox = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        self->caption_.clear();
        for (int i = 0, count = static_cast<int>(SendMessageW(filters, CB_GETCOUNT, 0, 0)); i < count; ++i)
        {
            wchar_t text[1024] = {};
            SendMessageW(filters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            self->caption_ += (i ? L"|" : L"") + std::wstring(text);
        }
        const bool open = !self->name_.empty();
        if (open)
            SetWindowTextW(nameBox, self->name_.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(open ? IDOK : IDCANCEL, BN_CLICKED), 0);
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND window = reinterpret_cast<HWND>(wParam);
        DialogAnswer *box = current[0], *file = current[1];
        wchar_t cls[32] = {};
        if (code == HCBT_SETFOCUS || code == HCBT_ACTIVATE)
            GetClassNameW(code == HCBT_ACTIVATE ? window : GetParent(window), cls, 32);
        if (lstrcmpW(cls, L"#32770") != 0)
            return CallNextHookEx(nullptr, code, wParam, lParam);
        if (code == HCBT_SETFOCUS)
        {
            focusParent = GetParent(window);
            focusId = GetDlgCtrlID(window);
        }
        else if (box && GetDlgItem(window, 0xFFFF))
        { // message boxes hold their text in static 0xFFFF
            ++box->shown_;
            box->window_ = window;
            box->caption_ = WindowText(window);
            box->text_ = WindowText(GetDlgItem(window, 0xFFFF));
            box->texts_ += L"\n" + box->text_;
            box->buttons_ = 0;
            for (int id = IDOK; id <= IDCONTINUE; ++id)
                box->buttons_ |= GetDlgItem(window, id) ? 1u << id : 0;
            box->defaultId_ = LOWORD(SendMessageW(window, DM_GETDEFID, 0, 0));
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(box->button_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, box->button_)));
        }
        else if (file && window != file->window_ && GetDlgItem(window, cmb1) &&
                 (GetDlgItem(window, cmb13) || GetDlgItem(window, edt1)))
        {
            ++file->shown_;
            file->window_ = window;
            SetTimer(nullptr, 0, 0, AnswerFile);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline DialogAnswer* current[2] = {}; // awaiting a message box, a file dialog
    static inline HHOOK hook = nullptr;
    static inline HWND focusParent = nullptr; // where a dialog button last took the focus, and which
    static inline int focusId = 0, users = 0;
    int kind_, button_ = 0, shown_ = 0, defaultId_ = 0;
    unsigned buttons_ = 0;
    std::wstring name_, text_, texts_, caption_;
    HWND window_ = nullptr;
    DialogAnswer* previous_ = nullptr;
};

} // namespace testsupport
