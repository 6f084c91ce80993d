// Answers the next real message box of this thread by pressing a button, and records it.
#pragma once
#include <windows.h>
#include <string>

namespace testsupport {

class MessageBoxAnswer {
  public:
    explicit MessageBoxAnswer(int button);
    ~MessageBoxAnswer();
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

    int Shown() const { return shown_; }
    const std::wstring& Text() const { return text_; }
    const std::wstring& Caption() const { return caption_; }
    // Whether the box had a button with this id (IDYES, IDNO, IDOK...).
    bool HadButton(int id) const { return (buttons_ >> id) & 1; }
    // The id of the button that had the focus when the box was answered.
    int DefaultButton() const { return defaultButton_; }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    int button_;
    int shown_ = 0;
    std::wstring text_, caption_;
    unsigned buttons_ = 0;
    int defaultButton_ = 0;
    HWND box_ = nullptr;
    HWND focusBox_ = nullptr; // the box whose button last took the focus, and that button
    int focusId_ = 0;
};

} // namespace testsupport
