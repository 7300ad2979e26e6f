#include "config/resources.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support.h"

namespace {

std::string ReadSourceFile(const char* relative) {
    std::ifstream in(std::string(LW_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

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
