// Bitmap files through LoadImageW, which checks the header and stretches to the wanted size.
#include "platform/Images.h"

namespace platform
{

HBITMAP LoadBitmapFile(const std::wstring& path, int width, int height, DWORD* error)
{
    SetLastError(ERROR_SUCCESS);
    auto bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, width, height,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap && error)
    {
        DWORD last = GetLastError();
        // A file that opens but is not a bitmap leaves no error code of its own.
        *error = last != ERROR_SUCCESS ? last : ERROR_INVALID_DATA;
    }
    return bitmap;
}

} // namespace platform
