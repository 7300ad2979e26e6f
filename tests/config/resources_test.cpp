#include "config/resources.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>

#include <fstream>

#include "test_support.h"

namespace {

// GDI+ for the picture tests, started and shut down around each test.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

std::string ReadSourceFile(const char* relative) {
    std::ifstream in(std::string(LW_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(LoadPngResource, OwnsItsPixels) {
    GdiplusSession gdiplus;
    std::unique_ptr<Gdiplus::Bitmap> image = LoadPngResource(nullptr, 130);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    ASSERT_EQ(image->GetWidth(), 4u);
    ASSERT_EQ(image->GetHeight(), 2u);
    // The resource memory is gone by now; the pixels must still be the picture's.
    const struct { int x, y; Gdiplus::ARGB argb; } pixels[] = {
        {0, 0, 0xFFFF0000}, {1, 0, 0xFF00FF00}, {2, 0, 0xFF0000FF},
        {0, 1, 0xFFFFFFFF}, {1, 1, 0xFF000000}, {2, 1, 0xFF2369FC},
    };
    for (const auto& p : pixels) {
        Gdiplus::Color color;
        ASSERT_EQ(image->GetPixel(p.x, p.y, &color), Gdiplus::Ok);
        EXPECT_EQ(color.GetValue(), p.argb) << p.x << "," << p.y;
    }
    Gdiplus::Color clear;
    image->GetPixel(3, 0, &clear);
    EXPECT_EQ(clear.GetAlpha(), 0);
}

TEST(LoadPngResource, MissingAndDamagedPictures) {
    GdiplusSession gdiplus;
    EXPECT_EQ(LoadPngResource(nullptr, 999), nullptr);
    std::unique_ptr<Gdiplus::Bitmap> damaged = LoadPngResource(nullptr, 131);
    ASSERT_NE(damaged, nullptr);
    EXPECT_NE(damaged->GetLastStatus(), Gdiplus::Ok);
}

TEST(LoadXmlResource, ReturnsTheDocumentBytes) {
    std::string document;
    ASSERT_TRUE(LoadXmlResource(nullptr, &document));
    EXPECT_EQ(document, ReadSourceFile("resources/uidata.xml"));
    EXPECT_FALSE(LoadXmlResource(nullptr, nullptr));

    // A module whose uidata resource is empty, and one without any.
    for (const wchar_t* fixture : {L"fx_version.exe", L"fx_noversion.exe"}) {
        HMODULE module = LoadLibraryExW(FixturePath(fixture).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << fixture;
        std::string empty;
        EXPECT_FALSE(LoadXmlResource(module, &empty)) << fixture;
        FreeLibrary(module);
    }
}

TEST(ReadWholeFile, SizeBoundsAndTerminators) {
    TempDir dir;
    const struct { const char* name; DWORD size; bool accepted; } cases[] = {
        {"one", 1, true},
        {"empty", 0, false},
        {"largest", kMaxWholeFileSize, true},
        {"too_large", kMaxWholeFileSize + 1, false},
    };
    for (const auto& c : cases) {
        const std::wstring path = dir / std::wstring(c.name, c.name + strlen(c.name));
        std::string bytes(c.size, 'x');
        if (c.size > 0) bytes.back() = 'z';
        WriteFileBytes(path, bytes);
        DWORD size = 7;
        std::unique_ptr<char[]> data = ReadWholeFile(path, &size);
        EXPECT_EQ(data != nullptr, c.accepted) << c.name;
        if (data) {
            EXPECT_EQ(size, c.size);
            EXPECT_EQ(data[c.size - 1], 'z');
            EXPECT_EQ(data[c.size], 0);
            EXPECT_EQ(data[c.size + 1], 0);
        }
        DeleteFileW(path.c_str());
    }
    EXPECT_EQ(ReadWholeFile(dir / L"missing", nullptr), nullptr);
}

TEST(ReadWholeFile, RefusesAFileInUse) {
    TempDir dir;
    const std::wstring path = dir / L"busy";
    WriteFileBytes(path, "data");
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadWholeFile(path, nullptr), nullptr);  // we ask for no sharing
    CloseHandle(other);
    EXPECT_NE(ReadWholeFile(path, nullptr), nullptr);
}

TEST(Utf8ToWide, RejectsInvalidText) {
    const struct { const char* utf8; const wchar_t* wide; } cases[] = {
        {"", L""},
        {"abc", L"abc"},
        {"\xE5\xB2\x9A\xE6\x96\x87", L"岚文"},
        {"\xF0\x9F\x98\x80", L"\U0001F600"},
        {"ok \xC3\x28", L""},          // broken sequence
        {"\xE5\xB2", L""},             // cut short
        {"\xC0\xAF", L""},             // overlong encoding
        {"\xED\xA0\x80", L""},         // a UTF-16 surrogate
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(Utf8ToWide(nullptr), L"");
    EXPECT_EQ(WideToUtf8(L"岚文 \U0001F600"), "\xE5\xB2\x9A\xE6\x96\x87 \xF0\x9F\x98\x80");
}
