// GetKeyValue through the ANSI registry functions: the buffer size and the REG_DWORD
// conversion count in single-byte characters.
#include "platform/KeyValue.h"
#include "platform/Handles.h"
#include "platform/Text.h"

#include <string>

namespace platform
{

namespace
{
constexpr REGSAM KeyAccess = 0x2003F; // read control and every key-specific right
constexpr DWORD BufferSize = 1024;
} // namespace

bool GetKeyValue(HKEY keyRoot, const std::wstring& keyName, const std::wstring& subKeyRef,
                 std::wstring& keyVal, bool* failed)
{
    if (failed)
        *failed = false;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(keyRoot, CodePageFromWide(CP_ACP, keyName).c_str(), 0, KeyAccess, &opened) !=
        ERROR_SUCCESS)
    {
        keyVal.clear();
        return false;
    }
    const UniqueHKey key(opened);
    std::string buffer(BufferSize, '\0');
    DWORD type = 0, size = BufferSize;
    if (RegQueryValueExA(key.get(), CodePageFromWide(CP_ACP, subKeyRef).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    {
        keyVal.clear();
        return false;
    }
    if (size == 0)
    {
        // Nothing to take apart: the caller treats this as a failure of its own.
        if (failed)
            *failed = true;
        return false;
    }
    std::string kept = buffer.substr(0, size);
    if (kept.back() == '\0')
        kept.pop_back();

    if (type == REG_SZ)
    {
        keyVal = WideFromCodePage(CP_ACP, kept);
    }
    else if (type == REG_DWORD)
    {
        std::wstring hex;
        for (auto c = kept.rbegin(); c != kept.rend(); ++c)
            hex += Hex(static_cast<unsigned char>(*c), 2);
        // "&h" and up to eight digits read as a signed 32-bit number.
        const unsigned long value =
            hex.empty() ? 0 : std::stoul(hex.substr(hex.size() > 8 ? hex.size() - 8 : 0), nullptr, 16);
        keyVal = ToDecimal(static_cast<long long>(static_cast<int>(static_cast<unsigned>(value))));
    }
    return true;
}

} // namespace platform
