// Message boxes: every message the program shows passes here.
#pragma once
#include "i18n/Keys.h"

#include <windows.h>
#include <initializer_list>
#include <string>

// A message box owned by owner with text; the caption is the application title unless given.
// Returns the button pressed.
int ShowText(HWND owner, const std::wstring& text, UINT style, const wchar_t* caption = nullptr);
// The pack's text of key (its English text without a pack), with %1, %2... replaced by args.
int ShowMessage(HWND owner, const keys::KeyText& key, std::initializer_list<std::wstring> args, UINT style);
