// The dependency set works with this toolchain: each library links and does its one job.
#include <gtest/gtest.h>

#include <httplib.h>
#include <curl/curl.h>
#include <zlib.h>

#include "7zip/Archive/IArchive.h"
#include "Common/MyCom.h"

STDAPI CreateObject(const GUID* clsid, const GUID* iid, void** outObject);

TEST(Dependencies, SevenZipRegistersTheSevenZipHandler) {
    const GUID kFormat7z = {0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};
    CMyComPtr<IInArchive> archive;
    ASSERT_EQ(CreateObject(&kFormat7z, &IID_IInArchive, reinterpret_cast<void**>(&archive)), S_OK);
    UInt32 items = 1;
    EXPECT_EQ(archive->GetNumberOfItems(&items), S_OK);
    EXPECT_EQ(items, 0u);
}

TEST(Dependencies, CurlUsesWindowsTls) {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    ASSERT_NE(info->ssl_version, nullptr);
    EXPECT_NE(std::string(info->ssl_version).find("Schannel"), std::string::npos);
    EXPECT_TRUE(info->features & CURL_VERSION_SSL);
}

TEST(Dependencies, HttplibReportsARefusedConnection) {
    httplib::Client client("127.0.0.1", 1);  // nothing listens on port 1
    auto result = client.Get("/");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error(), httplib::Error::Connection);
}

TEST(Dependencies, ZlibCrc32CheckValue) {
    const char text[] = "123456789";
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(text), 9), 0xCBF43926u);
}
