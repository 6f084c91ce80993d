// Jumping from a row to the place its entry lives, and to the properties of its program file.
#pragma once
#include "model/StartupList.h"

#include <windows.h>
#include <functional>
#include <string>

// What a jump starts: the platform's launch functions, which tests replace with recorders.
struct JumpLauncher
{
    std::function<DWORD(const std::wstring& program, const std::wstring& arguments)>
        startProgram;                                                          // the system error
    std::function<DWORD(HWND owner, const std::wstring& file)> showProperties; // the system error
};
JumpLauncher SystemLauncher();

bool CanOpenLocation(const EntryRecord& row);
// Registry rows: the registry editor, opened at the row's key through its last-key setting;
// StartUp rows: the folder with the row's shortcut selected; win.ini rows: win.ini in Notepad.
// False, with nothing started, when the row's Load From names no known source. A program that
// cannot be started is explained in a message box.
bool OpenLocation(HWND owner, const EntryRecord& row, const JumpLauncher& launcher);
// Explorer at the file, selected; at its folder when the file is not there.
bool OpenFileLocation(HWND owner, const std::wstring& folder, const std::wstring& fileName,
                      const JumpLauncher& launcher);
// The registry editor, opened at the key through its last-key setting.
bool OpenRegistryKey(HWND owner, HKEY root, const std::wstring& keyPath, const JumpLauncher& launcher);
// The properties of the file the command line starts; false when no such file exists.
bool ShowProgramProperties(HWND owner, const std::wstring& commandLine, const JumpLauncher& launcher);

// The registry editor's last-key text for a key: whatever stood before the root in the last key
// the editor kept (the computer's name in the language of Windows, or nothing), then the key.
std::wstring RegistryEditorPath(const std::wstring& lastKey, HKEY root, const std::wstring& keyPath);
