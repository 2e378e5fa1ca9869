// A picture stored as a resource, decoded by the system's picture decoder and owned as a GDI bitmap.
#include "windows/StoredPicture.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace pelluna::win32 {
namespace {

// Releases a COM interface when it goes out of scope.
template <class Interface>
struct ComReleaser {
    Interface* pointer = nullptr;
    ~ComReleaser() {
        if (pointer) pointer->Release();
    }
};

// A copy of the resource's bytes in movable global memory, as a stream that frees it on release.
IStream* ResourceStream(HINSTANCE instance, int resourceId) {
    HRSRC resource =
        ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (resource == nullptr) return nullptr;
    const DWORD size = ::SizeofResource(instance, resource);
    const void* bytes = ::LockResource(::LoadResource(instance, resource));
    if (bytes == nullptr || size == 0) return nullptr;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) return nullptr;
    void* copy = ::GlobalLock(memory);
    std::memcpy(copy, bytes, size);
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

}  // namespace

StoredPicture::StoredPicture(HINSTANCE instance, int resourceId) {
    ComReleaser<IStream> stream{ResourceStream(instance, resourceId)};
    if (stream.pointer == nullptr) return;
    ComReleaser<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream.pointer, 0, FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture.pointer)))) {
        return;
    }
    OLE_HANDLE handle = 0;
    if (FAILED(picture.pointer->get_Handle(&handle))) return;
    // The picture object owns its bitmap: keep a copy of our own so the object can go.
    bitmap_.reset(
        static_cast<HBITMAP>(::CopyImage(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (bitmap_ && ::GetObjectW(bitmap_.get(), sizeof info, &info)) size_ = SIZE{info.bmWidth, info.bmHeight};
}

void StoredPicture::Draw(HDC target, SIZE size) const {
    if (!bitmap_) return;
    const OwnedDc sourceDc(::CreateCompatibleDC(target));
    const ScopedSelect picture(sourceDc.get(), bitmap_.get());
    HDC source = sourceDc.get();
    if (size.cx == size_.cx && size.cy == size_.cy) {
        ::BitBlt(target, 0, 0, size_.cx, size_.cy, source, 0, 0, SRCCOPY);
    } else {
        // Halftone averages the source pixels under each target pixel; it needs the brush origin reset.
        const int mode = ::SetStretchBltMode(target, HALFTONE);
        POINT origin;
        ::SetBrushOrgEx(target, 0, 0, &origin);
        ::StretchBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, size_.cx, size_.cy, SRCCOPY);
        ::SetBrushOrgEx(target, origin.x, origin.y, nullptr);
        ::SetStretchBltMode(target, mode);
    }
}

}  // namespace pelluna::win32
