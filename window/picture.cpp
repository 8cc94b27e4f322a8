#include "window/picture.h"

#include <olectl.h>

#include <cstring>
#include <utility>

namespace velkin {

namespace {

// The JPEG resource, decoded by OLE.
ComPtr<IPicture> Decode(int id) {
    ComPtr<IPicture> picture;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
    if (bytes == nullptr || size == 0) {
        return picture;
    }
    // OLE reads from a stream over movable memory of its own.
    GlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = copy.Valid() ? GlobalLock(copy.Get()) : nullptr;
    if (target == nullptr) {
        return picture;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy.Get());
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(copy.Get(), TRUE, stream.Out()))) {
        return picture;
    }
    copy.Release();  // the stream frees it
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Out())))) {
        picture.Reset();
    }
    return picture;
}

}  // namespace

void BackgroundPicture::Load(int id, int dpi) {
    // Loaded again when the DPI changes: nothing of the last one stays.
    dc_.Reset();
    scaled_.Reset();
    decoded_.Reset();
    size_ = {0, 0};
    ComPtr<IPicture> picture = Decode(id);
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (!picture.Valid() || FAILED(picture.Get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.Get()->get_Handle(&handle))) {
        return;
    }
    auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info;
    if (GetObjectW(bitmap, sizeof info, &info) == 0) {
        return;
    }
    const SIZE size = {MulDiv(info.bmWidth, dpi, 96), MulDiv(info.bmHeight, dpi, 96)};
    const bool asDecoded = size.cx == info.bmWidth && size.cy == info.bmHeight;
    ScreenDc screen(GetDC(nullptr));
    GdiObject scaled(asDecoded ? nullptr : CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    MemoryDc dc(CreateCompatibleDC(screen.Get()));  // goes before `scaled`
    if (!screen.Valid() || !dc.Valid() || (!asDecoded && !scaled.Valid()) ||
        SelectObject(dc.Get(), asDecoded ? static_cast<HGDIOBJ>(bitmap) : scaled.Get()) ==
            nullptr) {
        return;
    }
    if (!asDecoded) {
        // Scaled once, here, so that painting stays a plain copy at any DPI.
        MemoryDc source(CreateCompatibleDC(screen.Get()));
        HGDIOBJ original = source.Valid() ? SelectObject(source.Get(), bitmap) : nullptr;
        if (original == nullptr) {
            return;
        }
        SetStretchBltMode(dc.Get(), HALFTONE);
        SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
        const bool drawn = StretchBlt(dc.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0,
                                      info.bmWidth, info.bmHeight, SRCCOPY) != FALSE;
        SelectObject(source.Get(), original);  // the bitmap stays the picture's
        if (!drawn) {
            return;
        }
        scaled_ = std::move(scaled);
    } else {
        decoded_ = std::move(picture);
    }
    dc_ = std::move(dc);
    size_ = size;
}

SIZE BackgroundPicture::Paint(HDC dc) const {
    if (!dc_.Valid()) {
        return {0, 0};
    }
    BitBlt(dc, 0, 0, size_.cx, size_.cy, dc_.Get(), 0, 0, SRCCOPY);
    return size_;
}

}  // namespace velkin
