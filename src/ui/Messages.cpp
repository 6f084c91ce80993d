// The program's one call of MessageBoxW.
#include "ui/Messages.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"

int ShowText(HWND owner, const std::wstring& text, UINT style, const wchar_t* caption)
{
    return MessageBoxW(owner, text.c_str(), caption ? caption : platform::names::AppTitle, style);
}

int ShowMessage(HWND owner, const keys::KeyText& key, std::initializer_list<std::wstring> args, UINT style)
{
    return ShowText(owner, FormatText(LookupText(key), args), style);
}
