// The window procedure of the program's own windows: the object is stored with its window at
// WM_NCCREATE, every message goes to its HandleMessage, and its hwnd_ is cleared when the
// window is gone; a class that owns its own lifetime is told then through WindowGone.
#pragma once
#include "i18n/Lookup.h"

#include <windows.h>

template <class T> LRESULT CALLBACK ClassWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    T* self = nullptr;
    if (message == WM_NCCREATE)
    {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    else
    {
        self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LookupBatch texts; // what one message shows comes from one look at the pack
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY)
    {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        if constexpr (requires { T::WindowGone(self); })
            T::WindowGone(self);
    }
    return result;
}
