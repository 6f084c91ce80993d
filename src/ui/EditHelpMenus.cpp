// Edit and Help menu actions, started through the platform layer and never waited for.
#include "ui/EditHelpMenus.h"
#include "ui/Messages.h"
#include "i18n/Globals.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Launch.h"
#include "platform/Names.h"
#include "platform/Text.h"

std::wstring NotepadFile(const std::wstring& fileName)
{
    const std::wstring root = platform::GetWindowsFolder().substr(0, 3);
    if (platform::FileExists(root + fileName))
        return root + fileName;
    return L"C:\\" + fileName;
}

void StartOrExplain(HWND owner, const std::wstring& program, const std::wstring& arguments)
{
    const platform::Launch launch = platform::StartProgram(program, arguments);
    if (launch.error != ERROR_SUCCESS)
        ExplainStartFailure(owner, program, arguments, launch.error);
}

void ExplainStartFailure(HWND owner, const std::wstring& program, const std::wstring& arguments, DWORD error)
{
    const std::wstring text =
        FormatText(LookupText(keys::CannotStart), {platform::CommandLine(program, arguments)}) + L"\r\n" +
        platform::SystemErrorText(error);
    ShowText(owner, text, MB_OK | MB_ICONEXCLAMATION);
}

void OpenInNotepad(HWND owner, const std::wstring& fileName)
{
    StartOrExplain(owner, L"notepad.exe", NotepadFile(fileName));
}

int StartRegistryEditor(HWND owner)
{
    const std::wstring caption = CaptionText(keys::RegistryWarningTitle);
    const int answer =
        ShowText(owner, MessageTexts[2], MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2, caption.c_str());
    if (answer == IDYES)
        StartOrExplain(owner, platform::GetWindowsFolder() + platform::names::RegistryEditorFile);
    return answer;
}

void OpenHelpFile(HWND owner)
{
    platform::ShellOpen(owner, platform::ProgramFolder() + L"\\RavHelp.chm", L"C:\\");
}

void StartUpdater()
{
    platform::StartProgram(platform::ProgramFolder() + L"\\patchkit.exe");
}
