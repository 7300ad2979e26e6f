#include "report/machine_id.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "base/file_util.h"
#include "base/handles.h"
#include "base/text_convert.h"
#include "report/md5_hex.h"

const wchar_t kIdexKey[] =
    L"CLSID\\{8005C787-7B6A-46B4-9237-2D1E84628AAA}\\Implemented Categories\\"
    L"{12942001-7F25-4FE1-9C35-108B75C8D49A}";
const wchar_t kIdexValue[] = L"idex";

namespace {

std::wstring RandomPart() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    char text[32] = {};
    std::snprintf(text, sizeof(text), "%05ld", static_cast<long>(std::rand()));
    return AnsiToWide(text);
}

std::wstring GuidPart() {
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid)) || guid == GUID{}) return L"";
    char text[40] = {};
    std::snprintf(text, sizeof(text), "%08lX%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return AnsiToWide(text);
}

std::wstring TimePart() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    wchar_t text[40] = {};
    swprintf(text, 40, L"%03d%02d%02d%04d%02d%02d%02d", now.wMilliseconds, now.wMinute, now.wDay,
             now.wYear, now.wHour, now.wSecond, now.wMonth);
    return text;
}

std::wstring ComputerNamePart() {
    char name[260] = {};
    DWORD size = sizeof(name);
    if (!GetComputerNameA(name, &size)) size = 0;
    return AnsiToWide(Md5Hex(name, size));
}

std::wstring FreeSpacePart() {
    const std::wstring systemDir = SystemFolder(GetSystemDirectoryW);
    ULARGE_INTEGER freeBytes = {};
    if (systemDir.empty() ||
        !GetDiskFreeSpaceExW(systemDir.c_str(), nullptr, nullptr, &freeBytes)) {
        freeBytes.QuadPart = 0;
    }
    wchar_t text[16] = {};
    swprintf(text, 16, L"%010lu", static_cast<unsigned long>(freeBytes.LowPart));
    return text;
}

}  // namespace

bool ReadIdex(std::wstring* id) {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kIdexKey, 0, KEY_READ | KEY_WOW64_32KEY, key.put()) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), kIdexValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size % 2 != 0) {
        return false;
    }
    std::vector<wchar_t> buffer(size / sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), kIdexValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size % 2 != 0 ||
        size / sizeof(wchar_t) > buffer.size() || buffer[size / sizeof(wchar_t) - 1] != L'\0') {
        return false;
    }
    *id = buffer.data();
    return true;
}

bool WriteIdex(const std::wstring& id) {
    if (id.empty()) return false;
    UniqueHKey key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kIdexKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WOW64_32KEY | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD bytes = static_cast<DWORD>((id.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), kIdexValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(id.c_str()),
                          bytes) == ERROR_SUCCESS;
}

std::wstring GenerateMachineId() {
    // Built once, even when two threads ask at the same moment.
    static const std::wstring cached = [] {
        const std::wstring inputs =
            RandomPart() + GuidPart() + TimePart() + ComputerNamePart() + FreeSpacePart();
        const std::string bytes = WideToAnsi(inputs);
        return AnsiToWide(Md5Hex(bytes.data(), bytes.size()));
    }();
    return cached;
}

bool GetMachineId(std::wstring* id) {
    if (!ReadIdex(id) || id->empty()) {
        *id = GenerateMachineId();
        WriteIdex(*id);
    }
    return !id->empty();
}
