// Move-only owners of Win32 handles, memory blocks and COM interfaces: each gives its
// resource back in its destructor.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <bcrypt.h>

#include <utility>

// One owner per close function. Traits give the handle type, its "no handle" value and how
// to close it.
template <typename Traits>
class UniqueWinHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueWinHandle() = default;
    explicit UniqueWinHandle(Handle handle) : handle_(handle) {}
    UniqueWinHandle(UniqueWinHandle&& other) noexcept : handle_(other.release()) {}
    UniqueWinHandle& operator=(UniqueWinHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueWinHandle(const UniqueWinHandle&) = delete;
    UniqueWinHandle& operator=(const UniqueWinHandle&) = delete;
    ~UniqueWinHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    // Closing never changes the caller's last error: a failure read after a reset is still
    // the failure that led to it.
    void reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) {
            const DWORD error = GetLastError();
            Traits::Close(handle_);
            SetLastError(error);
        }
        handle_ = handle;
    }
    // For the functions that hand out a handle through a pointer: the old handle is closed
    // first, the new one is owned as soon as the function writes it.
    Handle* put() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

// The two "no handle" values the traits below share.
template <typename H>
struct NullInvalid {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
};
template <typename H>
struct MinusOneInvalid {
    using Handle = H;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
};

// Handles that report failure as null (events, threads, processes, tokens, mappings).
struct KernelHandleTraits : NullInvalid<HANDLE> {
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueHandle = UniqueWinHandle<KernelHandleTraits>;

// Handles that report failure as INVALID_HANDLE_VALUE (files, snapshots).
struct FileHandleTraits : MinusOneInvalid<HANDLE> {
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueFileHandle = UniqueWinHandle<FileHandleTraits>;

// Directory enumerations (FindFirstFileW).
struct FindHandleTraits : MinusOneInvalid<HANDLE> {
    static void Close(Handle handle) { FindClose(handle); }
};
using UniqueFindHandle = UniqueWinHandle<FindHandleTraits>;

// Open registry keys.
struct RegistryKeyTraits : NullInvalid<HKEY> {
    static void Close(Handle key) { RegCloseKey(key); }
};
using UniqueHKey = UniqueWinHandle<RegistryKeyTraits>;

// Memory the security functions hand out with LocalAlloc, typed the way each hands it out
// (a security descriptor, an ACL), so put() fits their out-parameters.
template <typename Pointer>
struct LocalMemoryTraits : NullInvalid<Pointer> {
    static void Close(Pointer memory) { LocalFree(memory); }
};
template <typename Pointer>
using UniqueLocalPointer = UniqueWinHandle<LocalMemoryTraits<Pointer>>;
using UniqueLocalMemory = UniqueLocalPointer<HLOCAL>;

// Memory from GlobalAlloc (the blocks streams on HGLOBAL read).
struct GlobalMemoryTraits : NullInvalid<HGLOBAL> {
    static void Close(Handle memory) { GlobalFree(memory); }
};
using UniqueGlobalMemory = UniqueWinHandle<GlobalMemoryTraits>;

// Memory device contexts from CreateCompatibleDC.
struct MemoryDcTraits : NullInvalid<HDC> {
    static void Close(Handle dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueWinHandle<MemoryDcTraits>;

// Bitmaps, not selected into any device context when they are closed.
struct BitmapTraits : NullInvalid<HBITMAP> {
    static void Close(Handle bitmap) { DeleteObject(bitmap); }
};
using UniqueBitmap = UniqueWinHandle<BitmapTraits>;

// CNG algorithm providers.
struct AlgorithmTraits : NullInvalid<BCRYPT_ALG_HANDLE> {
    static void Close(Handle handle) { BCryptCloseAlgorithmProvider(handle, 0); }
};
using UniqueAlgorithm = UniqueWinHandle<AlgorithmTraits>;

// CNG hash objects.
struct HashTraits : NullInvalid<BCRYPT_HASH_HANDLE> {
    static void Close(Handle handle) { BCryptDestroyHash(handle); }
};
using UniqueHash = UniqueWinHandle<HashTraits>;

// A device context borrowed with GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Initialises COM (apartment-threaded) for the scope and undoes it at the end. A thread
// already in another apartment can use COM all the same, so that counts as ready too.
class ComApartment {
public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

// Releases the interface it holds.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For the functions that hand out a new reference: the old one is released first.
    Interface** put() {
        reset();
        return &pointer_;
    }
    // The same for the functions that take the interface's id and a void**.
    void** receive() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }

private:
    Interface* pointer_ = nullptr;
};
