#include "transfer/archive_extractor.h"

#include <shlwapi.h>

#include <cstdio>

#include "7zip/Archive/IArchive.h"
#include "7zip/Common/FileStreams.h"
#include "Common/MyCom.h"
#include "transfer/archive_extract_callback.h"
#include "transfer/extract_result.h"
#include "transfer/in_memory_stream.h"
#include "transfer/item_path.h"

STDAPI CreateObject(const GUID* clsid, const GUID* iid, void** outObject);

namespace {

const GUID kFormat7z = {0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};
constexpr UInt64 kMaxStartSearch = 0x800000;

std::wstring StoppedText(HRESULT result) {
    wchar_t text[40];
    swprintf(text, 40, L"extract fail, hr:0x%08lX", static_cast<unsigned long>(result));
    return text;
}

}  // namespace

int CArchiveExtractor::ExtractFromFile(std::vector<std::wstring>& itemPaths,
                                       const std::wstring& archivePath,
                                       const std::wstring& outDir) {
    lastError.clear();
    if (!PathFileExistsW(archivePath.c_str())) return kExtractCannotOpenFile;
    auto* fileSpec = new CInFileStream;
    CMyComPtr<IInStream> file(fileSpec);
    if (!fileSpec->Open(archivePath.c_str())) return kExtractCannotOpenFile;
    return Extract(itemPaths, file, outDir);
}

int CArchiveExtractor::ExtractFromMemory(std::vector<std::wstring>& itemPaths, const void* data,
                                         UINT32 size, const std::wstring& outDir) {
    lastError.clear();
    if (!data || size == 0) return kExtractNoData;
    CMyComPtr<IInStream> memory(new CInMemoryStream(data, size));
    return Extract(itemPaths, memory, outDir);
}

int CArchiveExtractor::Extract(std::vector<std::wstring>& itemPaths, IInStream* stream,
                               const std::wstring& outDir) {
    CMyComPtr<IInArchive> archive;
    if (CreateObject(&kFormat7z, &IID_IInArchive, reinterpret_cast<void**>(&archive)) != S_OK ||
        !archive)
        return kExtractNoHandler;
    const UInt64 maxStartSearch = kMaxStartSearch;
    if (archive->Open(stream, &maxStartSearch, nullptr) != S_OK) return kExtractNotAnArchive;

    UInt32 count = 0;
    if (archive->GetNumberOfItems(&count) != S_OK) return kExtractNotAnArchive;
    for (UInt32 index = 0; index < count; ++index) {
        std::wstring name;
        if (ReadItemPath(archive, index, &name) != S_OK) return kExtractBadItemPath;
        if (name.empty()) continue;
        // Every path is checked before the first file is written, so an archive that tries
        // to reach outside the output directory leaves nothing behind.
        if (!IsSafeItemPath(name)) {
            lastError = L"unsafe item path:" + name;
            return kExtractUnsafeItemPath;
        }
        itemPaths.push_back(MakeItemPath(outDir, name));
    }

    auto* callbackSpec = new CArchiveExtractCallback;
    CMyComPtr<IArchiveExtractCallback> callback(callbackSpec);
    {
        kbase::ScopedLock<kbase::Locker> guard(lock);
        active = callbackSpec;
    }
    callbackSpec->Init(archive, outDir);
    const HRESULT extracted = archive->Extract(nullptr, static_cast<UInt32>(-1), 0, callback);
    {
        kbase::ScopedLock<kbase::Locker> guard(lock);
        active = nullptr;
    }
    archive->Close();
    if (extracted == S_OK) return kExtractOk;
    callbackSpec->DiscardUnfinishedFile();
    lastError = callbackSpec->errorText;
    if (callbackSpec->errorCode != 0) return callbackSpec->errorCode;
    // A stop without a recorded cause is still a failure, never a success.
    if (lastError.empty()) lastError = StoppedText(extracted);
    return kExtractStopped;
}

int CArchiveExtractor::GetProgress() {
    kbase::ScopedLock<kbase::Locker> guard(lock);
    if (!active) return 0;
    const UInt64 total = active->total.load();
    const UInt64 completed = active->completed.load();
    if (total == 0 || completed == 0) return 0;
    if (completed >= total) return 100;
    return static_cast<int>(completed * 100 / total);
}
