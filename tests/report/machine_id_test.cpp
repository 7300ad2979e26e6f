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
    for (const auto& c : cases) {
        RegDeleteValueW(key.get(), kIdexValue);
        if (c.data) {
            ASSERT_EQ(RegSetValueExW(key.get(), kIdexValue, 0, c.type, static_cast<const BYTE*>(c.data), c.size),
                      ERROR_SUCCESS);
        }
        std::wstring id;
        EXPECT_TRUE(GetMachineId(&id)) << c.name;
        EXPECT_EQ(id, c.expected) << c.name;
        std::wstring stored;
        EXPECT_TRUE(ReadIdex(&stored)) << c.name;
        EXPECT_EQ(stored, c.expected) << c.name;
    }
    EXPECT_FALSE(WriteIdex(L""));
}
