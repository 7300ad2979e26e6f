#include "transfer/archive_extract_callback.h"

#include <windows.h>

#include "7zip/PropID.h"
#include "Windows/PropVariant.h"
#include "base/file_util.h"
#include "transfer/extract_result.h"
#include "transfer/item_path.h"

namespace {

constexpr UInt32 kPosixModeMarker = 0xF0000000;
constexpr UInt32 kWindowsAttributes = 0x3FFF;

std::wstring WithSystemCode(const wchar_t* text, DWORD code) {
    return text + std::to_wstring(static_cast<int>(code));
}

// Deletes a file, clearing a read-only attribute first.
bool DeleteFileAlways(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileW(path.c_str()) != FALSE;
}

}  // namespace

void CArchiveExtractCallback::Init(IInArchive* archiveHandler, const std::wstring& directory) {
    total = 0;
    completed = 0;
    errorCode = 0;
    errorCount = 0;
    errorText.clear();
    archive = archiveHandler;
    outDir = directory;
    if (outDir.empty() || (outDir.back() != L'\\' && outDir.back() != L'/')) outDir += L'\\';
    passwordDefined = false;
}

void CArchiveExtractCallback::DiscardUnfinishedFile() {
    if (!outFile) return;
    outFileSpec->Close();
    outFile.Release();
    outFileSpec = nullptr;
    DeleteFileAlways(diskPath);
}

Z7_COM7F_IMF(CArchiveExtractCallback::SetTotal(UInt64 size)) {
    total.store(size);
    return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::SetCompleted(const UInt64* completeValue)) {
    if (completeValue) completed.store(*completeValue);
    return S_OK;
}

HRESULT ReadItemPath(IInArchive* archive, UInt32 index, std::wstring* path) {
    NWindows::NCOM::CPropVariant prop;
    RINOK(archive->GetProperty(index, kpidPath, &prop))
    if (prop.vt == VT_EMPTY) {
        path->clear();
    } else if (prop.vt == VT_BSTR) {
        *path = prop.bstrVal;
    } else {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CArchiveExtractCallback::ReadItemProperties(UInt32 index) {
    {
        NWindows::NCOM::CPropVariant prop;
        RINOK(archive->GetProperty(index, kpidAttrib, &prop))
        if (prop.vt == VT_EMPTY) {
            attrib = 0;
            attribDefined = false;
        } else if (prop.vt == VT_UI4) {
            attrib = prop.ulVal;
            attribDefined = true;
        } else {
            return E_FAIL;
        }
    }
    {
        NWindows::NCOM::CPropVariant prop;
        RINOK(archive->GetProperty(index, kpidIsDir, &prop))
        if (prop.vt == VT_EMPTY) {
            isDir = false;
        } else if (prop.vt == VT_BOOL) {
            isDir = prop.boolVal != VARIANT_FALSE;
        } else {
            return E_FAIL;
        }
    }
    {
        NWindows::NCOM::CPropVariant prop;
        RINOK(archive->GetProperty(index, kpidMTime, &prop))
        modTimeDefined = false;
        if (prop.vt == VT_FILETIME) {
            modTime = prop.filetime;
            modTimeDefined = true;
        } else if (prop.vt != VT_EMPTY) {
            return E_FAIL;
        }
    }
    NWindows::NCOM::CPropVariant size;
    return archive->GetProperty(index, kpidSize, &size);
}

HRESULT CArchiveExtractCallback::CreateOutputFile() {
    if (GetFileAttributesW(diskPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        SetLastError(0);
        if (!DeleteFileAlways(diskPath)) {
            errorText = WithSystemCode(L"DeleteFileAlways fail, code:", GetLastError());
            errorCode = kExtractCannotDelete;
            return E_ABORT;
        }
    }
    auto* created = new COutFileStream;
    CMyComPtr<ISequentialOutStream> stream(created);
    SetLastError(0);
    if (!created->Create_ALWAYS(diskPath.c_str())) {
        errorText = WithSystemCode(L"Create_ALWAYS fail, code:", GetLastError());
        errorCode = kExtractCannotCreate;
        return E_ABORT;
    }
    outFileSpec = created;
    outFile = stream;
    return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::GetStream(UInt32 index, ISequentialOutStream** outStream,
                                                Int32 askExtractMode)) {
    *outStream = nullptr;
    outFile.Release();
    outFileSpec = nullptr;

    RINOK(ReadItemPath(archive, index, &itemPath))
    if (itemPath.empty()) itemPath = L"[Content]";
    // The driver refuses such archives before extracting; this keeps the callback safe on
    // its own.
    if (!IsSafeItemPath(itemPath)) {
        errorText = L"unsafe item path:" + itemPath;
        errorCode = kExtractUnsafeItemPath;
        return E_ABORT;
    }
    if (askExtractMode != NArchive::NExtract::NAskMode::kExtract) return S_OK;

    RINOK(ReadItemProperties(index))

    const size_t lastSeparator = itemPath.find_last_of(L"\\/");
    if (lastSeparator != std::wstring::npos)
        CreateDirectoryTree(outDir + itemPath.substr(0, lastSeparator));
    diskPath = outDir + itemPath;
    if (isDir) {
        CreateDirectoryTree(diskPath);
        return S_OK;
    }
    RINOK(CreateOutputFile())
    *outStream = outFile;
    outFile->AddRef();
    return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::PrepareOperation(Int32 askExtractMode)) {
    extractMode = askExtractMode == NArchive::NExtract::NAskMode::kExtract;
    return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::SetOperationResult(Int32 operationResult)) {
    if (operationResult != NArchive::NExtract::NOperationResult::kOK) {
        ++errorCount;
        if (operationResult >= NArchive::NExtract::NOperationResult::kUnsupportedMethod &&
            operationResult <= NArchive::NExtract::NOperationResult::kHeadersError)
            errorCode = kExtractOperationResultBase + operationResult;
    }
    if (outFile) {
        if (modTimeDefined) outFileSpec->SetMTime(&modTime);
        RINOK(outFileSpec->Close())
    }
    outFile.Release();
    outFileSpec = nullptr;
    if (extractMode && attribDefined) {
        // Archives made on POSIX systems carry the file mode in the high 16 bits.
        const UInt32 attributes = (attrib & kPosixModeMarker) ? attrib & kWindowsAttributes : attrib;
        SetFileAttributesW(diskPath.c_str(), attributes);
    }
    return operationResult == NArchive::NExtract::NOperationResult::kOK ? S_OK : E_ABORT;
}

Z7_COM7F_IMF(CArchiveExtractCallback::CryptoGetTextPassword(BSTR* value)) {
    if (!passwordDefined) {
        errorText = L"password is not defined";
        return E_ABORT;
    }
    *value = SysAllocString(password.c_str());
    return *value ? S_OK : E_OUTOFMEMORY;
}
