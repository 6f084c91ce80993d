// Registry access: the scanner's key functions and the registry component Reg.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform
{

// A view is 0, or KEY_WOW64_32KEY for the machine keys of 32-bit programs on a 64-bit Windows,
// which the system then finds in its own place: the path stays the 64-bit one.

// Opens a key for reading values only (KEY_QUERY_VALUE); empty when it cannot be opened.
UniqueHKey OpenRegKey(HKEY root, const std::wstring& path, REGSAM view = 0);

struct RegValue
{
    std::wstring name; // as stored, blanks included
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
// Names of the key's direct subkeys, in enumeration order; none when it cannot be opened.
std::vector<std::wstring> ReadRegSubkeyNames(HKEY root, const std::wstring& path, REGSAM view = 0);
// Every value of the key with its data, in enumeration order, in one pass.
std::vector<RegValue> ReadRegValues(HKEY key);

// One value with its exact type and data; ERROR_FILE_NOT_FOUND when the key or value is missing.
DWORD QueryRegValue(HKEY key, const std::wstring& name, RegValue& value);
DWORD ReadRegValue(HKEY root, const std::wstring& path, const std::wstring& name, RegValue& value,
                   REGSAM view = 0);
// Writes the value as it is (the key made when missing); deletes one. Return the Win32 error.
DWORD WriteRegValue(HKEY root, const std::wstring& path, const RegValue& value, REGSAM view = 0);
DWORD DeleteRegValue(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view = 0);

// Display text of value data: strings as stored (expandable ones unexpanded), numbers in
// decimal, multi-strings joined by a space, anything else as hexadecimal byte pairs.
std::wstring RenderRegData(DWORD type, const BYTE* data, size_t size);

// The registry component: set RootKey, View, KeyPath and ValueName (and ValueData), then call an
// operation. The key stays open while RootKey, View and KeyPath stay the same.
class Reg
{
  public:
    void RootKey(HKEY root);
    void View(REGSAM view);
    void KeyPath(const std::wstring& path);
    void ValueName(const std::wstring& name) { valueName_ = name; }
    void ValueData(const std::wstring& data) { valueData_ = data; }

    // Data of ValueName as display text; empty when it cannot be read.
    std::wstring ReadValue();
    // Return the Win32 error code (ERROR_SUCCESS on success).
    DWORD DeleteValue();
    // REG_EXPAND_SZ when the data holds a '%', REG_SZ otherwise; creates a missing key.
    DWORD WriteValue();
    // ValueName with its exact type and data, read and written as they are.
    DWORD ReadRaw(RegValue& value);
    DWORD WriteRaw(DWORD type, const std::vector<BYTE>& data);

    // While a scan walks a key it has just read whole, ReadValue answers from those values
    // instead of asking the registry again; any change of key or any write ends it.
    void ServeReadsFrom(std::vector<RegValue> values);
    void StopServingReads();

  private:
    HKEY OpenFor(REGSAM access, bool create, DWORD* error);
    void CloseKey();

    HKEY root_ = nullptr;
    REGSAM view_ = 0;
    std::wstring path_;
    std::wstring valueName_;
    std::wstring valueData_;
    UniqueHKey key_;
    REGSAM keyAccess_ = 0;

    std::vector<RegValue> served_;
    std::unordered_map<std::wstring, size_t> servedIndex_;
    size_t servedCursor_ = 0;
    bool serving_ = false;
};

} // namespace platform
