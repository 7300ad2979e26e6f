// Move-only owners of Win32 handles: each closes its handle in its destructor.
#pragma once

#include <windows.h>

#include <utility>

// Traits: the handle type, its "no handle" value and how to close it.
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
    void reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

// Handles that report failure as null (events, threads, processes, mappings).
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueHandle = UniqueWinHandle<KernelHandleTraits>;

// Handles that report failure as INVALID_HANDLE_VALUE (files, snapshots).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueFileHandle = UniqueWinHandle<FileHandleTraits>;

// Open registry keys.
struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle key) { RegCloseKey(key); }
};
using UniqueHKey = UniqueWinHandle<RegistryKeyTraits>;
