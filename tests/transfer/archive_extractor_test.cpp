// The extraction driver's own checks, the memory stream and item paths. Extraction of real
// archives made by 7zz: tests/process/transfer_test.py.
#include <gtest/gtest.h>

#include <windows.h>

#include "7zip/IPassword.h"
#include "test_support.h"
#include "transfer/archive_extract_callback.h"
#include "transfer/archive_extractor.h"
#include "transfer/extract_result.h"
#include "transfer/in_memory_stream.h"
#include "transfer/item_path.h"

namespace {

TEST(ArchiveExtractor, InputThatIsNoArchive) {
    TempDir dir;
    CArchiveExtractor extractor;
    std::vector<std::wstring> items = {L"kept"};
    const char bytes[] = "this is not a 7z archive";
    WriteFileBytes(dir / L"fake.7z", bytes);

    EXPECT_EQ(extractor.ExtractFromMemory(items, nullptr, 10, dir.path()), kExtractNoData);
    EXPECT_EQ(extractor.ExtractFromMemory(items, bytes, 0, dir.path()), kExtractNoData);
    EXPECT_EQ(extractor.ExtractFromFile(items, dir / L"missing.7z", dir.path()),
              kExtractCannotOpenFile);
    EXPECT_EQ(extractor.ExtractFromFile(items, dir / L"fake.7z", dir.path()), kExtractNotAnArchive);
    EXPECT_EQ(extractor.ExtractFromMemory(items, bytes, sizeof bytes, dir.path()),
              kExtractNotAnArchive);
    EXPECT_EQ(items, std::vector<std::wstring>{L"kept"});
    EXPECT_EQ(extractor.lastError, L"");
    EXPECT_EQ(extractor.GetProgress(), 0);
}

TEST(ArchiveExtractCallback, AnswersOnlyItsTwoInterfacesAndRefusesPasswords) {
    auto* extractCallback = new CArchiveExtractCallback;
    CMyComPtr<IArchiveExtractCallback> callback(extractCallback);
    CMyComPtr<IUnknown> unknown;
    EXPECT_EQ(callback->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    IProgress* progress = nullptr;
    EXPECT_EQ(callback->QueryInterface(IID_IProgress, reinterpret_cast<void**>(&progress)),
              E_NOINTERFACE);
    CMyComPtr<ICryptoGetTextPassword> password;
    ASSERT_EQ(callback->QueryInterface(IID_ICryptoGetTextPassword,
                                       reinterpret_cast<void**>(&password)), S_OK);
    BSTR text = nullptr;
    EXPECT_EQ(password->CryptoGetTextPassword(&text), E_ABORT);
    EXPECT_EQ(extractCallback->errorText, L"password is not defined");
}

TEST(CInMemoryStream, SeeksAndReadsWithinTheBlock) {
    const char data[] = "0123456789";
    CMyComPtr<IInStream> stream(new CInMemoryStream(data, 10));
    char buffer[16] = {};
    UInt32 read = 99;
    UInt64 position = 99;
    EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), "0123");
    EXPECT_EQ(stream->Seek(-2, STREAM_SEEK_END, &position), S_OK);
    EXPECT_EQ(position, 8u);
    EXPECT_EQ(stream->Read(buffer, 16, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), "89");
    EXPECT_EQ(stream->Seek(10, STREAM_SEEK_SET, &position), S_OK);
    EXPECT_EQ(stream->Read(buffer, 16, &read), S_OK);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(stream->Seek(11, STREAM_SEEK_SET, &position), static_cast<HRESULT>(0x80070084));
    EXPECT_EQ(stream->Seek(INT64_MAX, STREAM_SEEK_END, &position), static_cast<HRESULT>(0x80070084));
    EXPECT_EQ(stream->Seek(-1, STREAM_SEEK_SET, &position), static_cast<HRESULT>(0x80070083));
    EXPECT_EQ(stream->Seek(-3, STREAM_SEEK_CUR, &position), S_OK);
    EXPECT_EQ(position, 7u);

    CMyComPtr<IInStream> empty(new CInMemoryStream(nullptr, 0));
    EXPECT_EQ(empty->Read(buffer, 1, &read), static_cast<HRESULT>(0x80070002));
    EXPECT_EQ(empty->Seek(0, STREAM_SEEK_SET, &position), static_cast<HRESULT>(0x80070002));
}

TEST(MakeItemPath, JoinsWithSingleBackslashes) {
    struct Case {
        const wchar_t* dir;
        const wchar_t* name;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"D:\\Out\\", L"a/b.txt", L"D:\\Out\\a\\b.txt"},
        {L"D:\\Out", L"a", L"D:\\Out\\a"},
        {L"D:/Out//x/", L"a\\\\b", L"D:\\Out\\x\\a\\b"},
        {L"", L"a.txt", L"\\a.txt"},
        {L"D:\\Out", L"", L"D:\\Out"},
    };
    for (const Case& c : cases) EXPECT_EQ(MakeItemPath(c.dir, c.name), c.path) << c.name;
}

TEST(IsSafeItemPath, RefusesPathsThatLeaveTheDirectory) {
    for (const wchar_t* safe : {L"a.txt", L"a\\b\\c.txt", L"a/b", L".\\a", L"a..b\\c", L"..a",
                                L"a\\.b..", L"中文\\说明.txt", L"", L"console.txt", L"com10",
                                L"nullable\\aux1", L"lpt", L"a.nul"}) {
        EXPECT_TRUE(IsSafeItemPath(safe)) << safe;
    }
    for (const wchar_t* unsafe : {L"..", L"..\\a", L"a\\..\\..\\b", L"../a", L"a/..", L"...\\a",
                                  L".. \\a", L". .\\a", L"\\a", L"/a", L"\\\\srv\\share\\a",
                                  L"C:\\a", L"C:a", L"a.txt:stream", L"NUL", L"nul.txt",
                                  L"a\\con", L"COM1", L"lpt9.log\\x", L"aux .dat", L"CONOUT$",
                                  L"prn", L"COM0", L"lpt0.txt", L"COM\u00B9", L"lpt\u00B3.log"}) {
        EXPECT_FALSE(IsSafeItemPath(unsafe)) << unsafe;
    }
}

}  // namespace
