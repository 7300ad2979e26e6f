#include "transfer/archive_extract_callback.h"

#include <windows.h>

#include <algorithm>

#include "7zip/PropID.h"
#include "Windows/PropVariant.h"
#include "base/file_util.h"
#include "base/resolved_path.h"
#include "base/string_util.h"
#include "transfer/extract_result.h"
#include "transfer/item_path.h"

namespace {

constexpr UInt32 kPosixModeMarker = 0xF0000000;
constexpr UInt32 kWindowsAttributes = 0x3FFF;

std::wstring WithSystemCode(const wchar_t* text, DWORD code) {
    return text + std::to_wstring(static_cast<int>(code));
}

// The item's path as the system resolves it: a backslash between its names, and each name
// without the dots and blanks at its end that the system drops, so "." and empty names go.
std::wstring NormalizedItemPath(std::wstring name) {
    std::replace(name.begin(), name.end(), L'/', L'\\');
    std::wstring path;
    for (std::wstring part : SplitString(name, L"\\")) {
        part.erase(part.find_last_not_of(L". ") + 1);
        if (!part.empty()) path = JoinPath(path, part);
    }
    return path;
}

// The attributes an item records: archives made on POSIX systems carry the file mode in the
// high 16 bits, with the Windows attributes below.
DWORD ItemAttributes(UInt32 attrib) {
    return (attrib & kPosixModeMarker) ? attrib & kWindowsAttributes : attrib;
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
    heldDirs.clear();
    // The output directory itself may be reached through links: it is where the caller chose
    // to install. Everything below it must resolve below where it resolves.
    CreateDirectoryTree(outDir);
    outDirResolved = ResolvedPath(outDir);
    if (!outDirResolved.empty()) {
        heldDirs[L""] = OpenDirectoryInPlace(outDir, outDirResolved);
        if (outDirResolved.back() != L'\\') outDirResolved += L'\\';
    }
}

void CArchiveExtractCallback::DiscardUnfinishedFile() {
    if (!outFile) return;
    outFileSpec->Close();
    outFile.Release();
    outFileSpec = nullptr;
    DeleteInPlace(diskPath, outDirResolved + itemPath);
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

HRESULT CArchiveExtractCallback::Fail(int code, const wchar_t* text, DWORD systemCode) {
    errorText = WithSystemCode(text, systemCode);
    errorCode = code;
    return E_ABORT;
}

HRESULT CArchiveExtractCallback::PrepareDirectory(const std::wstring& relative) {
    std::wstring part;
    for (const std::wstring& name : SplitString(relative, L"\\")) {
        part = JoinPath(part, name);
        if (heldDirs.count(part)) continue;
        const std::wstring path = outDir + part;
        const std::wstring resolved = outDirResolved + part;
        // Made before anything is looked up, as most are new.
        UniqueFileHandle dir;
        if (!CreateDirectoryW(path.c_str(), nullptr)) {
            dir = OpenDirectoryInPlace(path, resolved);
            if (!dir) {
                // Something else is in the way: a file, or a link that would send the items
                // below it elsewhere. It goes (a link as a link), and a directory takes its
                // place.
                SetLastError(0);
                if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
                    !DeleteInPlace(path, resolved, true)) {
                    return Fail(kExtractCannotCreate, L"Create_ALWAYS fail, code:", GetLastError());
                }
                CreateDirectoryW(path.c_str(), nullptr);
            }
        }
        if (!dir) dir = OpenDirectoryInPlace(path, resolved);
        if (!dir) {
            return Fail(kExtractCannotCreate, L"Create_ALWAYS fail, code:",
                        GetLastError() ? GetLastError() : kResolvedElsewhere);
        }
        // Held until the extraction ends, so that the directory cannot be swapped for a link
        // while items are written below it.
        heldDirs[part] = std::move(dir);
    }
    return S_OK;
}

HRESULT CArchiveExtractCallback::CreateOutputFile() {
    auto* created = new COutFileStream;
    CMyComPtr<ISequentialOutStream> stream(created);
    // A new file only, so nothing that stands at the name is written through; its directory
    // is held open since it was checked. What stands there is looked at only when the
    // creation fails: a look for a name that is not there reads the whole directory under
    // Wine.
    SetLastError(0);
    if (!created->Create_NEW(diskPath.c_str())) {
        const DWORD createError = GetLastError();
        if (GetFileAttributesW(diskPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return Fail(kExtractCannotCreate, L"Create_ALWAYS fail, code:", createError);
        }
        SetLastError(0);
        if (!DeleteInPlace(diskPath, outDirResolved + itemPath, true)) {
            return Fail(kExtractCannotDelete, L"DeleteFileAlways fail, code:", GetLastError());
        }
        SetLastError(0);
        if (!created->Create_NEW(diskPath.c_str())) {
            return Fail(kExtractCannotCreate, L"Create_ALWAYS fail, code:", GetLastError());
        }
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

    itemPath = NormalizedItemPath(itemPath);
    diskPath = outDir + itemPath;
    if (isDir) return PrepareDirectory(itemPath);
    const size_t lastSeparator = itemPath.rfind(L'\\');
    if (lastSeparator != std::wstring::npos) {
        RINOK(PrepareDirectory(itemPath.substr(0, lastSeparator)))
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
        // Through the handle: the name may point elsewhere once the file is closed.
        if (extractMode && attribDefined) {
            FILE_BASIC_INFO basic = {};
            // Zero would leave the attributes as they are.
            basic.FileAttributes = ItemAttributes(attrib) ? ItemAttributes(attrib)
                                                          : FILE_ATTRIBUTE_NORMAL;
            SetFileInformationByHandle(outFileSpec->File.GetHandle(), FileBasicInfo, &basic,
                                       sizeof(basic));
        }
        RINOK(outFileSpec->Close())
    } else if (extractMode && attribDefined) {
        // A directory: held open since it was checked, so the name is still the one made.
        SetFileAttributesW(diskPath.c_str(), ItemAttributes(attrib));
    }
    outFile.Release();
    outFileSpec = nullptr;
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
