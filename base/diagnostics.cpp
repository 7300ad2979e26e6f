#include "base/diagnostics.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/file_util.h"
#include "base/handles.h"
#include "base/locker.h"
#include "base/text_convert.h"

namespace {

// What the log keeps in memory before (or without) a file: far more than any run writes,
// but bounded, so a loop that writes lines cannot take the machine's memory.
constexpr size_t kKeptLogBytes = 8 << 20;

struct Log {
    kbase::Locker lock;
    std::string kept;  // UTF-8, every line so far up to kKeptLogBytes
    bool truncated = false;
    UniqueFileHandle file;
    std::wstring path;
};

Log& TheLog() {
    static Log log;
    return log;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                       &written, nullptr) &&
                             written == bytes.size());
}

// Adds one line, "<ms since start> ms  <text>", to the log.
void AppendToLog(const wchar_t* line) {
    wchar_t stamp[24] = {};
    std::swprintf(stamp, 24, L"%8u ms  ", MillisecondsSinceStart());
    const std::string bytes = WideToUtf8(std::wstring(stamp) + line);
    Log& log = TheLog();
    kbase::ScopedLock<kbase::Locker> hold(log.lock);
    if (log.kept.size() + bytes.size() <= kKeptLogBytes) {
        log.kept += bytes;
    } else if (!log.truncated) {
        log.truncated = true;
        log.kept += "(the log held in memory is full: later lines are not kept)\r\n";
    }
    if (log.file) WriteAll(log.file.get(), bytes);
}

}  // namespace

void DebugPrint(const wchar_t* format, ...) {
    constexpr size_t kStep = 512;
    constexpr int kAttempts = 10;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        std::vector<wchar_t> buffer(kStep * attempt);
        va_list args;
        va_start(args, format);
        const int written = _vsnwprintf(buffer.data(), buffer.size() - 3, format, args);
        va_end(args);
        if (written < 0 || static_cast<size_t>(written) >= buffer.size() - 3) continue;
        buffer[written] = L'\r';
        buffer[written + 1] = L'\n';
        buffer[written + 2] = L'\0';
        OutputDebugStringW(buffer.data());
        AppendToLog(buffer.data());
        return;
    }
}

unsigned MillisecondsSinceStart() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
    };
    // FILETIME counts 100-nanosecond steps.
    return static_cast<unsigned>((ticks(now) - ticks(created)) / 10000);
}

bool WriteLogTo(const std::wstring& path) {
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    if (path.empty() || length == 0 || length >= MAX_PATH * 2) return false;
    const std::wstring fullPath = full;
    const size_t slash = fullPath.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 0) CreateDirectoryTree(fullPath.substr(0, slash));
    // Others may read the log while the installer still writes it.
    UniqueFileHandle file(CreateFileW(fullPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    Log& log = TheLog();
    kbase::ScopedLock<kbase::Locker> hold(log.lock);
    if (!WriteAll(file.get(), log.kept)) return false;
    log.file = std::move(file);
    log.path = fullPath;
    return true;
}

std::wstring LogPath() {
    Log& log = TheLog();
    kbase::ScopedLock<kbase::Locker> hold(log.lock);
    return log.path;
}
