// RAII owners for the Win32 handles the program opens.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>

namespace platform {

struct RegKeyCloser {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueHKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

// Kernel handles use INVALID_HANDLE_VALUE or null for "none" depending on the API;
// both are treated as empty here.
struct HandleCloser {
    void operator()(HANDLE h) const noexcept
    {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

inline UniqueHandle MakeUniqueHandle(HANDLE h)
{
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct FindCloser {
    void operator()(HANDLE h) const noexcept { FindClose(h); }
};
using UniqueFindHandle = std::unique_ptr<void, FindCloser>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ obj) const noexcept { DeleteObject(obj); }
};
template <class T> using UniqueGdi = std::unique_ptr<std::remove_pointer_t<T>, GdiObjectDeleter>;

struct ImageListDestroyer {
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

struct AcceleratorDestroyer {
    void operator()(HACCEL table) const noexcept { DestroyAcceleratorTable(table); }
};
using UniqueAccelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorDestroyer>;

// Balances CoInitializeEx on the calling thread.
class ComApartment {
  public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT hr_;
};

} // namespace platform
