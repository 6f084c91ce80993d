// The Edit and Help menus: system files in Notepad, the registry editor, the help file and
// the updater. None of them touches the list.
#pragma once
#include <windows.h>
#include <string>

// The file at the root of the Windows drive when it exists there, otherwise the file on C:.
std::wstring NotepadFile(const std::wstring& fileName);
// Opens autoexec.bat or CONFIG.SYS in Notepad; says why when Notepad cannot be started.
void OpenInNotepad(HWND owner, const std::wstring& fileName);
// Warns (Yes/No, No the default) and on Yes starts regedit.exe of the Windows folder. Returns
// the answer.
int StartRegistryEditor(HWND owner);
// RavHelp.chm beside the program through the shell; a missing file gives no message.
void OpenHelpFile(HWND owner);
// patchkit.exe beside the program; every failure is ignored.
void StartUpdater();
// Starts a program; when it cannot be started, a message gives the reason.
void StartOrExplain(HWND owner, const std::wstring& program, const std::wstring& arguments = {});
// The message that says why a program could not be started.
void ExplainStartFailure(HWND owner, const std::wstring& program, const std::wstring& arguments, DWORD error);
