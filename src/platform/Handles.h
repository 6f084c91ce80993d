// RAII owners for the Win32 handles the program opens.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <winsvc.h>

#include <memory>

namespace platform
{

struct RegKeyCloser
{
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueHKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

struct ServiceHandleCloser
{
    void operator()(SC_HANDLE handle) const noexcept { CloseServiceHandle(handle); }
};
using UniqueServiceHandle = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;

// Kernel handles use INVALID_HANDLE_VALUE or null for "none" depending on the API;
// both are treated as empty here.
struct HandleCloser
{
    void operator()(HANDLE h) const noexcept
    {
        if (h && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

inline UniqueHandle MakeUniqueHandle(HANDLE h)
{
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct FindCloser
{
    void operator()(HANDLE h) const noexcept { FindClose(h); }
};
using UniqueFindHandle = std::unique_ptr<void, FindCloser>;

struct GdiObjectDeleter
{
    void operator()(HGDIOBJ obj) const noexcept { DeleteObject(obj); }
};
template <class T> using UniqueGdi = std::unique_ptr<std::remove_pointer_t<T>, GdiObjectDeleter>;

struct ImageListDestroyer
{
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

struct AcceleratorDestroyer
{
    void operator()(HACCEL table) const noexcept { DestroyAcceleratorTable(table); }
};
using UniqueAccelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorDestroyer>;

// A menu that no window owns: a window's own menu goes with the window.
struct MenuDestroyer
{
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// A device context made to draw into memory.
struct MemoryDcDeleter
{
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// A window's device context, given back to the window.
class WindowDc
{
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced comes back.
class SelectedObject
{
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Balances CoInitializeEx on the calling thread.
class ComApartment
{
  public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT hr_;
};

} // namespace platform
