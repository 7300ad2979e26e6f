// Extracts a whole 7z archive, from a file or from memory, into a directory, with 7-Zip's
// 7z handler. Result codes and lastError texts: transfer/extract_result.h.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/locker.h"

class CArchiveExtractCallback;
struct IInArchive;
struct IInStream;

class CArchiveExtractor {
public:
    CArchiveExtractor() = default;
    CArchiveExtractor(const CArchiveExtractor&) = delete;
    CArchiveExtractor& operator=(const CArchiveExtractor&) = delete;

    // Both append the disk path of every item to itemPaths (never clearing it) before
    // extracting. The memory block belongs to the caller and is read in place.
    int ExtractFromFile(std::vector<std::wstring>& itemPaths, const std::wstring& archivePath,
                        const std::wstring& outDir);
    int ExtractFromMemory(std::vector<std::wstring>& itemPaths, const void* data, UINT32 size,
                          const std::wstring& outDir);
    // 0..100 for the extraction running on another thread; 0 when none runs.
    int GetProgress();

    std::wstring lastError;

private:
    int Extract(std::vector<std::wstring>& itemPaths, IInStream* stream, const std::wstring& outDir);

    kbase::Locker lock;
    CArchiveExtractCallback* active = nullptr;
};
