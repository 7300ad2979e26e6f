#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/handles.h"
#include "report/machine_id.h"

namespace {

bool IsMachineIdText(const std::wstring& id) {
    return id.size() == 32 && id.find_first_not_of(L"0123456789abcdef") == std::wstring::npos;
}

UniqueHKey OpenIdexKey() {
    UniqueHKey key;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kIdexKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                    key.put(), nullptr);
    return key;
}

// Puts the machine's stored id back however the test leaves the value.
class IdexRestorer {
public:
    IdexRestorer() : had_(ReadIdex(&saved_)) {}
    ~IdexRestorer() {
        if (had_) {
            WriteIdex(saved_);
        } else {
            RegDeleteValueW(OpenIdexKey().get(), kIdexValue);
        }
    }

private:
    std::wstring saved_;
    bool had_;
};

}  // namespace

TEST(MachineId, GeneratedOncePerProcess) {
    const std::wstring id = GenerateMachineId();
    EXPECT_TRUE(IsMachineIdText(id)) << id;
    EXPECT_EQ(GenerateMachineId(), id);
}

TEST(MachineId, StoredValues) {
    IdexRestorer restore;
    const UniqueHKey key = OpenIdexKey();
    ASSERT_TRUE(key);
    const std::wstring generated = GenerateMachineId();
    const DWORD number = 0x12345678;
    const wchar_t odd[] = L"abc";  // set with 7 bytes below: an odd size
    const struct {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
        std::wstring expected;
    } cases[] = {
        {"stored text kept", REG_SZ, L"Not Even Hex!", 28, L"Not Even Hex!"},
        {"expandable kept", REG_EXPAND_SZ, L"%x%", 8, L"%x%"},
        {"dword replaced", REG_DWORD, &number, 4, generated},
        {"odd size replaced", REG_SZ, odd, 7, generated},
        {"empty replaced", REG_SZ, L"", 0, generated},
        {"missing value", REG_NONE, nullptr, 0, generated},
    };
    // The value is the machine's, and the tests running beside this one in other processes
    // report: a report that finds the value unusable (as most cases leave it for a moment)
    // stores an id of its own process, which this one then reads. A case so disturbed is
    // made again; a fault of the reading or the storing fails every attempt.
    constexpr int kAttempts = 3;
    for (const auto& c : cases) {
        std::wstring attempts;
        bool right = false;
        for (int attempt = 1; attempt <= kAttempts && !right; ++attempt) {
            RegDeleteValueW(key.get(), kIdexValue);
            if (c.data) {
                ASSERT_EQ(RegSetValueExW(key.get(), kIdexValue, 0, c.type, static_cast<const BYTE*>(c.data), c.size),
                          ERROR_SUCCESS);
            }
            std::wstring id;
            const bool got = GetMachineId(&id);
            std::wstring stored;
            const bool read = ReadIdex(&stored);
            right = got && id == c.expected && read && stored == c.expected;
            attempts += L"\n  returned " + std::wstring(got ? L"" : L"(false) ") + id + L", stored " +
                        std::wstring(read ? L"" : L"(unreadable) ") + stored;
        }
        EXPECT_TRUE(right) << c.name << ": expected " << c.expected.c_str() << ", attempts:"
                           << attempts.c_str();
    }
    EXPECT_FALSE(WriteIdex(L""));
}
