#include "base/handles.h"

#include <gtest/gtest.h>

TEST(UniqueWinHandle, PutClosesTheOldHandleAndOwnsTheNewOne) {
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    const HANDLE first = event.get();
    HANDLE* slot = event.put();
    EXPECT_FALSE(event);
    // The first event is closed: asking for its flags fails.
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(first, &flags));
    *slot = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(event);
    EXPECT_EQ(event.get(), *slot);
}

TEST(UniqueWinHandle, PutFillsAnOutParameter) {
    UniqueHKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_READ, key.put()),
              ERROR_SUCCESS);
    EXPECT_TRUE(key);
    DWORD subkeys = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(UniqueWinHandle, ResetKeepsTheLastError) {
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    SetLastError(ERROR_FILE_NOT_FOUND);
    event.reset();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // Also when closing fails and sets an error of its own: a handle closed behind the
    // owner's back.
    const HANDLE stale = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(stale, nullptr);
    ASSERT_TRUE(CloseHandle(stale));
    UniqueHandle owner(stale);
    SetLastError(ERROR_ACCESS_DENIED);
    owner.reset();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(ComPtr, PutReleasesTheOldInterface) {
    ComPtr<IStream> stream;
    ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())));
    IStream* first = stream.get();
    first->AddRef();
    // One reference is ours, one the owner's; put() gives the owner's back.
    stream.put();
    EXPECT_FALSE(stream);
    EXPECT_EQ(first->Release(), 0u);
}
