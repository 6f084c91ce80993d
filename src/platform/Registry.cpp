// Registry access through the Win32 registry functions.
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/WriteSteps.h"

#include <algorithm>
#include <cstring>

namespace platform
{

namespace
{

// Every key this layer opens passes here.
DWORD OpenKey(HKEY root, const std::wstring& path, REGSAM access, bool create, HKEY* key)
{
    return create ? RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, access, nullptr, key, nullptr)
                  : RegOpenKeyExW(root, path.c_str(), 0, access, key);
}

} // namespace

UniqueHKey OpenRegKey(HKEY root, const std::wstring& path, REGSAM view)
{
    HKEY key = nullptr;
    if (OpenKey(root, path, KEY_QUERY_VALUE | view, false, &key) != ERROR_SUCCESS)
        return {};
    return UniqueHKey(key);
}

std::vector<std::wstring> ReadRegSubkeyNames(HKEY root, const std::wstring& path, REGSAM view)
{
    std::vector<std::wstring> names;
    HKEY opened = nullptr;
    if (OpenKey(root, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, false, &opened) != ERROR_SUCCESS)
        return names;
    UniqueHKey key(opened);
    DWORD maxName = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name(maxName + 2);
    for (DWORD i = 0;; ++i)
    {
        DWORD length = static_cast<DWORD>(name.size());
        LONG r = RegEnumKeyExW(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_MORE_DATA)
        {
            name.resize(name.size() * 2 + 256);
            --i;
            continue;
        }
        if (r != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

std::vector<RegValue> ReadRegValues(HKEY key)
{
    std::vector<RegValue> values;
    if (!key)
        return values;
    DWORD count = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    values.reserve(count);
    std::vector<wchar_t> name(maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        DWORD r = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (r == ERROR_MORE_DATA)
        {
            // The key grew since it was measured: make room and ask again for the same index.
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 256);
            --i;
            continue;
        }
        if (r != ERROR_SUCCESS)
            break;
        values.push_back({std::wstring(name.data(), nameLength), type,
                          std::vector<BYTE>(data.begin(), data.begin() + dataSize)});
    }
    return values;
}

DWORD QueryRegValue(HKEY key, const std::wstring& name, RegValue& value)
{
    // The buffers of a value read before serve again: reading a value per row allocates nothing.
    value.name = name;
    value.type = REG_NONE;
    value.data.resize(std::max<size_t>(value.data.size(), 512));
    for (;;)
    {
        DWORD size = static_cast<DWORD>(value.data.size());
        DWORD r = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (r == ERROR_MORE_DATA)
        {
            value.data.resize(size + 2);
            continue;
        }
        value.data.resize(r == ERROR_SUCCESS ? size : 0);
        return r;
    }
}

DWORD ReadRegValue(HKEY root, const std::wstring& path, const std::wstring& name, RegValue& value,
                   REGSAM view)
{
    UniqueHKey key = OpenRegKey(root, path, view);
    if (!key)
        return ERROR_FILE_NOT_FOUND;
    return QueryRegValue(key.get(), name, value);
}

DWORD WriteRegValue(HKEY root, const std::wstring& path, const RegValue& value, REGSAM view)
{
    HKEY key = nullptr;
    DWORD r = OpenKey(root, path, KEY_SET_VALUE | view, true, &key);
    if (r != ERROR_SUCCESS)
        return r;
    UniqueHKey owned(key);
    BeforeWrite(L"write registry value");
    return RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size()));
}

DWORD DeleteRegValue(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view)
{
    HKEY key = nullptr;
    DWORD r = OpenKey(root, path, KEY_SET_VALUE | view, false, &key);
    if (r != ERROR_SUCCESS)
        return r;
    UniqueHKey owned(key);
    BeforeWrite(L"delete registry value");
    return RegDeleteValueW(key, name.c_str());
}

namespace
{

std::wstring StringFromData(const BYTE* data, size_t size)
{
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
    return text;
}

std::wstring HexPairs(const BYTE* data, size_t size)
{
    std::wstring out;
    out.reserve(size * 3);
    for (size_t i = 0; i < size; ++i)
    {
        if (i)
            out += L' ';
        out += Hex(data[i], 2);
    }
    return out;
}

} // namespace

std::wstring RenderRegData(DWORD type, const BYTE* data, size_t size)
{
    switch (type)
    {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        std::wstring text = StringFromData(data, size);
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }
    case REG_MULTI_SZ: {
        std::wstring raw = StringFromData(data, size), out;
        size_t pos = 0;
        while (pos < raw.size())
        {
            size_t end = raw.find(L'\0', pos);
            if (end == std::wstring::npos)
                end = raw.size();
            if (end == pos)
                break; // the empty string that ends the list
            if (!out.empty())
                out += L' ';
            out.append(raw, pos, end - pos);
            pos = end + 1;
        }
        return out;
    }
    case REG_DWORD:
        if (size >= 4)
        {
            DWORD v;
            std::memcpy(&v, data, 4);
            return ToDecimal(v);
        }
        break;
    case REG_DWORD_BIG_ENDIAN:
        if (size >= 4)
            return ToDecimal((DWORD(data[0]) << 24) | (DWORD(data[1]) << 16) | (DWORD(data[2]) << 8) |
                             data[3]);
        break;
    case REG_QWORD:
        if (size >= 8)
        {
            unsigned long long v;
            std::memcpy(&v, data, 8);
            return std::to_wstring(v);
        }
        break;
    default:
        break;
    }
    return HexPairs(data, size);
}

void Reg::RootKey(HKEY root)
{
    if (root != root_)
    {
        CloseKey();
        root_ = root;
    }
}

void Reg::View(REGSAM view)
{
    if (view != view_)
    {
        CloseKey();
        view_ = view;
    }
}

void Reg::KeyPath(const std::wstring& path)
{
    if (path != path_ && !EqualsNoCase(path, path_))
    {
        CloseKey();
        path_ = path;
    }
}

void Reg::CloseKey()
{
    key_.reset();
    keyAccess_ = 0;
    StopServingReads();
}

HKEY Reg::OpenFor(REGSAM access, bool create, DWORD* error)
{
    *error = ERROR_SUCCESS;
    if (key_ && (keyAccess_ & access) == access)
        return key_.get();
    // Keep one handle: reopen with the wider of the old and the new rights.
    REGSAM wanted = keyAccess_ | access;
    HKEY key = nullptr;
    DWORD r = OpenKey(root_, path_, wanted | view_, create, &key);
    if (r != ERROR_SUCCESS && wanted != access)
    {
        // The wider rights may be refused where the narrower ones are granted.
        wanted = access;
        r = OpenKey(root_, path_, wanted | view_, create, &key);
    }
    if (r != ERROR_SUCCESS)
    {
        *error = r;
        return nullptr;
    }
    key_.reset(key);
    keyAccess_ = wanted;
    return key;
}

std::wstring Reg::ReadValue()
{
    if (serving_)
    {
        const RegValue* value = nullptr;
        // A scan asks for the values in the order it read them: try the next one first.
        if (servedCursor_ < served_.size() && served_[servedCursor_].name == valueName_)
        {
            value = &served_[servedCursor_++];
        }
        else
        {
            if (servedIndex_.empty())
                for (size_t i = served_.size(); i-- > 0;)
                    servedIndex_[FoldCase(served_[i].name)] = i;
            auto it = servedIndex_.find(FoldCase(valueName_));
            if (it != servedIndex_.end())
                value = &served_[it->second];
        }
        return value ? RenderRegData(value->type, value->data.data(), value->data.size()) : std::wstring();
    }
    RegValue value;
    if (ReadRaw(value) != ERROR_SUCCESS)
        return {};
    return RenderRegData(value.type, value.data.data(), value.data.size());
}

DWORD Reg::ReadRaw(RegValue& value)
{
    DWORD error;
    HKEY key = OpenFor(KEY_QUERY_VALUE, false, &error);
    if (!key)
        return error;
    return QueryRegValue(key, valueName_, value);
}

DWORD Reg::DeleteValue()
{
    StopServingReads();
    for (int attempt = 0;; ++attempt)
    {
        DWORD error;
        HKEY key = OpenFor(KEY_SET_VALUE, false, &error);
        if (!key)
            return error;
        BeforeWrite(L"delete registry value");
        error = RegDeleteValueW(key, valueName_.c_str());
        // The key kept open was deleted by someone else: look it up again once.
        if (error != ERROR_KEY_DELETED || attempt > 0)
            return error;
        CloseKey();
    }
}

DWORD Reg::WriteValue()
{
    const DWORD type = valueData_.find(L'%') != std::wstring::npos ? REG_EXPAND_SZ : REG_SZ;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(valueData_.c_str());
    return WriteRaw(type, std::vector<BYTE>(bytes, bytes + (valueData_.size() + 1) * sizeof(wchar_t)));
}

DWORD Reg::WriteRaw(DWORD type, const std::vector<BYTE>& data)
{
    StopServingReads();
    for (int attempt = 0;; ++attempt)
    {
        DWORD error;
        HKEY key = OpenFor(KEY_SET_VALUE, true, &error);
        if (!key)
            return error;
        BeforeWrite(L"write registry value");
        error =
            RegSetValueExW(key, valueName_.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        // The key kept open was deleted by someone else: create it again once.
        if (error != ERROR_KEY_DELETED || attempt > 0)
            return error;
        CloseKey();
    }
}

void Reg::ServeReadsFrom(std::vector<RegValue> values)
{
    served_ = std::move(values);
    servedIndex_.clear();
    servedCursor_ = 0;
    serving_ = true;
}

void Reg::StopServingReads()
{
    serving_ = false;
    served_.clear();
    servedIndex_.clear();
    servedCursor_ = 0;
}

} // namespace platform
