#include "config/resources.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "app/win_handle.h"
#include "ui/image_ops.h"

namespace {

struct GlobalMemory {
    HGLOBAL handle;
    explicit GlobalMemory(SIZE_T size) : handle(GlobalAlloc(GMEM_FIXED, size)) {}
    ~GlobalMemory() {
        if (handle) GlobalFree(handle);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
};

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

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

    GlobalMemory memory(size);
    if (!memory.handle) return nullptr;
    std::memcpy(GlobalLock(memory.handle), bytes, size);
    GlobalUnlock(memory.handle);
    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.handle, FALSE, &rawStream))) return nullptr;
    std::unique_ptr<IStream, ComRelease> stream(rawStream);

    Gdiplus::Bitmap decoded(stream.get());
    if (decoded.GetLastStatus() != Gdiplus::Ok) return FailedImage();
    // GDI+ decodes a stream lazily and keeps reading it; a copy of the pixels is
    // independent of the resource memory that is freed on return.
    ImagePtr copy = CopyWholeImage(&decoded);
    return copy ? std::move(copy) : FailedImage();
}

bool LoadXmlResource(HINSTANCE instance, std::string* buffer) {
    if (!buffer) return false;
    HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(kUiDataResourceId), L"XML");
    if (!info) return false;
    HGLOBAL resource = LoadResource(instance, info);
    const char* bytes = resource ? static_cast<const char*>(LockResource(resource)) : nullptr;
    if (!bytes) return false;
    buffer->assign(bytes, SizeofResource(instance, info));
    return !buffer->empty();
}

std::unique_ptr<char[]> ReadWholeFile(const std::wstring& path, DWORD* size) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    DWORD high = 0;
    const DWORD length = GetFileSize(file.get(), &high);
    // A file of 4 GiB or more cannot pass for a small one through its low 32 bits.
    if (length == INVALID_FILE_SIZE || high != 0 || length == 0 || length > kMaxWholeFileSize) {
        return nullptr;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[length + 2]);
    if (!buffer) return nullptr;
    buffer[length] = buffer[length + 1] = 0;
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.get(), length, &read, nullptr) || read != length) {
        return nullptr;
    }
    if (size) *size = length;
    return buffer;
}

std::wstring Utf8ToWide(const char* text) {
    if (!text) return L"";
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) return L"";
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length) <= 0) {
        return L"";
    }
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return "";
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0],
                            length, nullptr, nullptr);
    }
    return utf8;
}
