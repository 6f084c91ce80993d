// Answers the next real common file dialog of this thread: types a name (and picks a filter
// choice) and presses Open/Save, or presses Cancel. Records what the dialog showed.
#pragma once
#include <windows.h>
#include <string>

namespace testsupport {

class FileDialogAnswer {
  public:
    // An empty name presses Cancel. filterIndex counts from 1; 0 keeps the dialog's choice.
    explicit FileDialogAnswer(std::wstring name, int filterIndex = 0);
    ~FileDialogAnswer();
    FileDialogAnswer(const FileDialogAnswer&) = delete;
    FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

    int Shown() const { return shown_; }
    // The name the dialog opened with, and its filter choices as the list shows them.
    const std::wstring& InitialName() const { return initialName_; }
    const std::wstring& FilterChoices() const { return filterChoices_; }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Answer(HWND, UINT, UINT_PTR timer, DWORD);
    HWND dialog_ = nullptr;
    HHOOK hook_ = nullptr;
    std::wstring name_;
    int filterIndex_;
    int shown_ = 0;
    std::wstring initialName_, filterChoices_;
};

} // namespace testsupport
