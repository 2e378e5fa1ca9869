// A picture stored as a resource, decoded by the system's picture decoder and owned as a GDI bitmap.
#pragma once

#include "platform/win32/WindowsApi.h"
#include "windows/GdiObjects.h"

namespace pelluna::win32 {

class StoredPicture {
  public:
    // Decodes the RCDATA resource resourceId; an empty picture when it cannot be decoded.
    StoredPicture(HINSTANCE instance, int resourceId);
    StoredPicture(const StoredPicture&) = delete;
    StoredPicture& operator=(const StoredPicture&) = delete;

    // Draws the picture at its own size with its top-left corner at (0, 0); the DC clips the rest.
    void Draw(HDC target) const { Draw(target, size_); }
    // Draws it stretched to fill size from (0, 0), smoothed as a photo is shown.
    void Draw(HDC target, SIZE size) const;
    SIZE Size() const { return size_; }

  private:
    OwnedBitmap bitmap_;
    SIZE size_{0, 0};
};

}  // namespace pelluna::win32
