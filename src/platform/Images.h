// Pictures read from files: the flag bitmaps of the language packs.
#pragma once
#include <windows.h>
#include <string>

namespace platform
{

// A bitmap file drawn at width x height; null with *error set when the file is missing or is
// not a Windows bitmap.
HBITMAP LoadBitmapFile(const std::wstring& path, int width, int height, DWORD* error);

} // namespace platform
