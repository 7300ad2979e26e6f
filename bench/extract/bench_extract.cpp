// Extracts one archive with CArchiveExtractor and prints the result code, the item count,
// the throughput in unpacked MB/s and the peak memory.
// bench_extract [--memory] <archive> <output directory>
//   --memory  reads the archive into one block first (as an embedded package is held) and
//             extracts it with ExtractFromMemory
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/handles.h"
#include "peak_memory.h"
#include "transfer/archive_extractor.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

ULONGLONG TreeBytes(const std::wstring& dir) {
    ULONGLONG bytes = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            bytes += TreeBytes(dir + L"\\" + name);
        } else {
            bytes += (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return bytes;
}

// The archive in one block of private memory that nothing copies afterwards.
void* LoadArchive(const std::wstring& path, DWORD* size) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return nullptr;
    *size = GetFileSize(file.get(), nullptr);
    void* block = VirtualAlloc(nullptr, *size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD read = 0;
    if (!block || !ReadFile(file.get(), block, *size, &read, nullptr) || read != *size) return nullptr;
    return block;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool memory = argc == 4 && std::wstring(argv[1]) == L"--memory";
    if (argc != (memory ? 4 : 3)) {
        fprintf(stderr, "usage: bench_extract [--memory] <archive> <output directory>\n");
        return 2;
    }
    const std::wstring archive = argv[argc - 2];
    const std::wstring outDir = argv[argc - 1];
    CreateDirectoryW(outDir.c_str(), nullptr);

    DWORD size = 0;
    void* block = memory ? LoadArchive(archive, &size) : nullptr;
    if (memory && !block) {
        fprintf(stderr, "cannot read the archive\n");
        return 1;
    }
    CArchiveExtractor extractor;
    std::vector<std::wstring> items;
    const double start = Seconds();
    const int result = memory ? extractor.ExtractFromMemory(items, block, size, outDir)
                              : extractor.ExtractFromFile(items, archive, outDir);
    const double elapsed = Seconds() - start;
    const double megabytes = TreeBytes(outDir) / 1048576.0;

    printf("mode: %s\nresult: %d\nitems: %u\nunpacked MB: %.1f\nseconds: %.2f\nMB/s: %.1f\n",
           memory ? "memory" : "file", result, static_cast<unsigned>(items.size()), megabytes,
           elapsed, megabytes / elapsed);
    PrintPeakMemory();
    return result;
}
