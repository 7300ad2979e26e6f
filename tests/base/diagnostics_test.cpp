#include "base/diagnostics.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace

// Each test runs in a process of its own, so the log starts empty here.
TEST(Log, KeepsEveryLineAndGoesOnInTheFileNamedLater) {
    TempDir dir;
    DebugPrint(L"before the file: %ls %d", L"岚文看图", 7);
    EXPECT_EQ(LogPath(), L"");

    // A file that cannot be made leaves the lines in memory.
    WriteFileBytes(dir / L"a-file", "x");
    EXPECT_FALSE(WriteLogTo(dir / L"a-file\\setup.log"));
    EXPECT_EQ(LogPath(), L"");

    // Missing folders are made; the lines so far come first, later ones follow.
    const std::wstring path = dir / L"new\\folder\\setup.log";
    ASSERT_TRUE(WriteLogTo(path));
    EXPECT_EQ(LogPath(), path);
    DebugPrint(L"after the file");
    const std::string text = ReadBytes(path);
    const size_t first = text.find(" ms  before the file: \xE5\xB2\x9A\xE6\x96\x87\xE7\x9C\x8B\xE5\x9B\xBE 7\r\n");
    const size_t second = text.find(" ms  after the file\r\n");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, second);

    // A second file takes over with everything, the first stays as it was.
    const std::wstring other = dir / L"other.log";
    ASSERT_TRUE(WriteLogTo(other));
    DebugPrint(L"third");
    EXPECT_EQ(ReadBytes(path), text);
    EXPECT_NE(ReadBytes(other).find("after the file\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(other).find("third\r\n"), std::string::npos);
}
