// The callback through which 7-Zip's 7z handler extracts every item of an archive below an
// output directory. It refuses item paths that would leave that directory, replaces files
// already there (read-only ones too), never writes through a link met below that directory
// (the link is removed as a link where the system allows it, else the extraction stops),
// keeps the items' modification times and attributes, and records the progress and the
// first failure that stops the extraction.
#pragma once

#include <atomic>
#include <map>
#include <string>

#include "Common/MyCom.h"
#include "7zip/Archive/IArchive.h"
#include "7zip/Common/FileStreams.h"
#include "7zip/IPassword.h"
#include "base/handles.h"

// The path of item `index` as the archive names it: S_OK with the path, S_OK with an empty
// path for an item without a name, E_FAIL for a name that is not text, or the handler's own
// failure.
HRESULT ReadItemPath(IInArchive* archive, UInt32 index, std::wstring* path);

class CArchiveExtractCallback Z7_final : public IArchiveExtractCallback,
                                         public ICryptoGetTextPassword,
                                         public CMyUnknownImp {
    Z7_COM_UNKNOWN_IMP_2(IArchiveExtractCallback, ICryptoGetTextPassword)
    Z7_IFACE_COM7_IMP(IProgress)
    Z7_IFACE_COM7_IMP(IArchiveExtractCallback)
    Z7_IFACE_COM7_IMP(ICryptoGetTextPassword)

public:
    // Resets the counters and the failure; outDir gets a trailing separator if it has none.
    void Init(IInArchive* archiveHandler, const std::wstring& directory);
    // Closes and deletes the file still being written when the extraction stopped in the
    // middle of an item (a write that failed, a full disk): its contents are incomplete, and
    // the space it takes may be what the installation's file list needs.
    void DiscardUnfinishedFile();

    std::atomic<UInt64> total{0};
    std::atomic<UInt64> completed{0};
    UInt64 errorCount = 0;
    std::wstring errorText;
    int errorCode = 0;

private:
    HRESULT ReadItemProperties(UInt32 index);
    // Records the failure that stops the extraction, with the system's code in its text.
    HRESULT Fail(int code, const wchar_t* text, DWORD systemCode);
    // Makes sure every directory of `relative` below outDir is a real directory that
    // resolves there, and holds it open.
    HRESULT PrepareDirectory(const std::wstring& relative);
    HRESULT CreateOutputFile();

    CMyComPtr<IInArchive> archive;
    std::wstring outDir;
    // Where outDir resolves, with a trailing separator; the directories below it that were
    // checked, by their path below it.
    std::wstring outDirResolved;
    std::map<std::wstring, UniqueFileHandle> heldDirs;
    std::wstring itemPath;
    std::wstring diskPath;
    bool extractMode = false;
    FILETIME modTime = {};
    bool modTimeDefined = false;
    UInt32 attrib = 0;
    bool attribDefined = false;
    bool isDir = false;
    COutFileStream* outFileSpec = nullptr;
    CMyComPtr<ISequentialOutStream> outFile;
    bool passwordDefined = false;
    std::wstring password;
};
