// One registry value read as the About box reads the system-information tool's location.
#pragma once
#include <windows.h>
#include <string>

namespace platform
{

// Opens keyName under keyRoot with access 0x2003F and reads value subKeyRef into a buffer of
// 1024 characters. REG_SZ gives the text; REG_DWORD gives the decimal text of its bytes read
// back to front as hexadecimal; other types leave keyVal as it was. False, with keyVal empty,
// when the key or the value cannot be read. A value of no data cannot be taken apart: that
// sets *failed (when given) and returns false.
bool GetKeyValue(HKEY keyRoot, const std::wstring& keyName, const std::wstring& subKeyRef,
                 std::wstring& keyVal, bool* failed = nullptr);

} // namespace platform
