#include "base/digest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "test_support.h"

TEST(Digest, KnownValuesWholeAndInPieces) {
    const struct { const wchar_t* algorithm; std::string data; const char* hex; } cases[] = {
        {BCRYPT_MD5_ALGORITHM, "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {BCRYPT_SHA256_ALGORITHM, "abc",
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {BCRYPT_SHA256_ALGORITHM, "",
         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {BCRYPT_SHA256_ALGORITHM, std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        Digest whole(c.algorithm);
        whole.Add(c.data.data(), c.data.size());
        EXPECT_EQ(whole.FinishHex(), c.hex) << c.data.size();
        Digest pieces(c.algorithm);
        for (size_t at = 0; at < c.data.size(); at += 4093) {
            pieces.Add(c.data.data() + at, std::min<size_t>(4093, c.data.size() - at));
        }
        EXPECT_EQ(pieces.FinishHex(), c.hex) << c.data.size();
    }
    Digest unknown(L"NO-SUCH-ALGORITHM");
    EXPECT_FALSE(unknown.Add("abc", 3));
    EXPECT_EQ(unknown.FinishHex(), "");
}

TEST(Sha256FileHex, ReadsTheWholeFileAcrossItsBuffer) {
    TempDir dir;
    // Three and a half of the reader's 1 MiB buffers.
    WriteFileBytes(dir / L"big", std::string(3670016, 'a'));
    Digest expected(BCRYPT_SHA256_ALGORITHM);
    const std::string same(3670016, 'a');
    expected.Add(same.data(), same.size());
    EXPECT_EQ(Sha256FileHex(dir / L"big"), expected.FinishHex());
    WriteFileBytes(dir / L"empty", "");
    EXPECT_EQ(Sha256FileHex(dir / L"empty"),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256FileHex(dir / L"missing"), "");
}
