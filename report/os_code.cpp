#include "report/os_code.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/file_util.h"
#include "base/string_util.h"

namespace {

constexpr uint8_t kWorkstation = 1;

bool ReadReportedVersion(OsVersionNumbers* numbers) {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
        info = {};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return false;
    }
    numbers->platform = info.dwPlatformId;
    numbers->major = info.dwMajorVersion;
    numbers->minor = info.dwMinorVersion;
    numbers->build = info.dwBuildNumber;
    numbers->productType = info.wProductType;
    return true;
}

// Major and minor from ntoskrnl.exe's file version, for systems without the ntdll export.
bool ReadKernelFileVersion(uint32_t* major, uint32_t* minor) {
    const std::wstring systemDir = SystemFolder(GetSystemDirectoryW);
    if (systemDir.empty()) return false;
    const std::wstring path = JoinPath(systemDir, L"ntoskrnl.exe");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    *major = HIWORD(fixed->dwFileVersionMS);
    *minor = LOWORD(fixed->dwFileVersionMS);
    return true;
}

// GetVersionExW stops at 6.2 for programs without a compatibility manifest entry; ntdll
// tells the truth.
void ReadTrueVersion(uint32_t* major, uint32_t* minor, uint32_t* build) {
    using GetNumbers = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto get = ntdll ? reinterpret_cast<GetNumbers>(reinterpret_cast<void*>(
                                 GetProcAddress(ntdll, "RtlGetNtVersionNumbers")))
                           : nullptr;
    if (get) {
        DWORD ma = 0, mi = 0, bu = 0;
        get(&ma, &mi, &bu);
        *major = ma;
        *minor = mi;
        *build = bu & 0xFFFF;
        return;
    }
    *major = *minor = *build = 0;
    ReadKernelFileVersion(major, minor);
}

}  // namespace

int ClassifyOsCode(const OsVersionNumbers& v) {
    if (v.platform == VER_PLATFORM_WIN32_WINDOWS) return (v.build >> 16) < 0x045A ? 1 : 2;
    if (v.platform != VER_PLATFORM_WIN32_NT) return 0;
    const bool workstation = v.productType == kWorkstation;
    if (v.major <= 4) return 4;
    if (v.major == 5) {
        switch (v.minor) {
            case 0: return 3;
            case 1: return 6;
            case 2: return 5;
            default: return 0;
        }
    }
    if (v.major == 6 && v.minor <= 1) {
        if (!workstation) return 9;
        return v.minor == 0 ? 7 : 8;
    }
    return workstation ? -1 : 0;
}

int OsCodeForTrueVersion(uint32_t major, uint32_t minor, uint32_t build) {
    if (major == 6 && minor == 3) return 11;
    if (major == 6 && minor == 4) return 12;
    if (major == 10 && minor == 0) return build < 21996 ? 12 : 13;
    return 10;
}

int OsCode() {
    static std::atomic<int> cached{0};
    int code = cached.load();
    if (code != 0) return code;
    OsVersionNumbers reported;
    if (!ReadReportedVersion(&reported)) return 0;
    code = ClassifyOsCode(reported);
    if (code < 0) {
        uint32_t major = 0, minor = 0, build = 0;
        ReadTrueVersion(&major, &minor, &build);
        code = OsCodeForTrueVersion(major, minor, build);
    }
    cached.store(code);
    return code;
}
