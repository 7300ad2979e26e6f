#include "ui/png_resource.h"

#include <cstring>

#include "base/handles.h"

namespace {

// What a picture that cannot be decoded gives: an image whose status is not Ok. GDI+'s
// wrappers clear the status when it is read, so the status of the failed decoder itself
// cannot be handed on.
ImagePtr FailedImage() { return std::make_unique<Picture>(0, 0); }

}  // namespace

ImagePtr LoadPngResource(HINSTANCE instance, int id) {
    HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(id), L"PNG");
    if (!info) return nullptr;
    const DWORD size = SizeofResource(instance, info);
    HGLOBAL resource = LoadResource(instance, info);
    const void* bytes = resource ? LockResource(resource) : nullptr;
    if (!bytes) return nullptr;
    const UniqueGlobalMemory memory(GlobalAlloc(GMEM_FIXED, size));
    if (!memory) return nullptr;
    std::memcpy(GlobalLock(memory.get()), bytes, size);
    GlobalUnlock(memory.get());
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), FALSE, stream.put()))) return nullptr;
    Gdiplus::Bitmap decoded(stream.get());
    if (decoded.GetLastStatus() != Gdiplus::Ok) return FailedImage();
    // GDI+ decodes a stream lazily and keeps reading it; a copy of the pixels is
    // independent of the resource memory that is freed on return.
    ImagePtr copy = CopyWholeImage(&decoded);
    return copy ? std::move(copy) : FailedImage();
}
