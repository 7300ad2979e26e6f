#include "install/permissions.h"

#include <gtest/gtest.h>
#include <aclapi.h>

#include <memory>
#include <vector>

#include "base/handles.h"
#include "install/token_user.h"
#include "test_support.h"

namespace {

std::unique_ptr<BYTE[]> CurrentUser() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return nullptr;
    return ReadTokenUser(token.get());
}

struct AceSpec {
    bool allow;
    DWORD mask;
    BYTE flags;
    bool forUser;  // else for Everyone
};

constexpr BYTE kInherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
constexpr DWORD kRights = kDirectoryUserRights;

}  // namespace

TEST(HasDirectoryAccess, CountsOnlyEntriesThatReallyGrantTheRights) {
    const std::unique_ptr<BYTE[]> user = CurrentUser();
    ASSERT_TRUE(user);
    BYTE everyone[SECURITY_MAX_SID_SIZE] = {};
    DWORD everyoneSize = sizeof(everyone);
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &everyoneSize));

    const struct {
        const char* what;
        std::vector<AceSpec> aces;
        bool granted;
    } kCases[] = {
        {"allowed, inherited by children", {{true, kRights, kInherit, true}}, true},
        {"full control", {{true, FILE_ALL_ACCESS, kInherit, true}}, true},
        {"denied with the same rights", {{false, kRights, kInherit, true}}, false},
        {"deny of one right beside the grant",
         {{false, FILE_WRITE_DATA, kInherit, true}, {true, kRights, kInherit, true}}, false},
        {"missing a right", {{true, kRights & ~FILE_EXECUTE, kInherit, true}}, false},
        {"another account", {{true, kRights, kInherit, false}}, false},
        {"not inherited by what is created below", {{true, kRights, 0, true}}, false},
        {"inherit-only", {{true, kRights, kInherit | INHERIT_ONLY_ACE, true}}, false},
        {"empty", {}, false},
    };
    for (const auto& row : kCases) {
        BYTE buffer[1024] = {};
        PACL acl = reinterpret_cast<PACL>(buffer);
        ASSERT_TRUE(InitializeAcl(acl, sizeof(buffer), ACL_REVISION));
        for (const AceSpec& ace : row.aces) {
            PSID sid = ace.forUser ? TokenUserSid(user) : static_cast<PSID>(everyone);
            ASSERT_TRUE(ace.allow ? AddAccessAllowedAceEx(acl, ACL_REVISION, ace.flags, ace.mask, sid)
                                  : AddAccessDeniedAceEx(acl, ACL_REVISION, ace.flags, ace.mask, sid));
        }
        EXPECT_EQ(HasDirectoryAccess(acl, TokenUserSid(user)), row.granted) << row.what;
    }
    EXPECT_FALSE(HasDirectoryAccess(nullptr, TokenUserSid(user)));
}

TEST(GrantDirectoryAccess, LeavesTheUserAnInheritedGrant) {
    TempDir root;
    const std::unique_ptr<BYTE[]> user = CurrentUser();
    ASSERT_TRUE(user);
    GrantDirectoryAccess(root.path());
    GrantDirectoryAccess(root / L"missing");
    GrantDirectoryAccess(L"");

    PACL dacl = nullptr;
    UniqueLocalPointer<PSECURITY_DESCRIPTOR> descriptor;
    ASSERT_EQ(GetNamedSecurityInfoW(root.path().c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &dacl, nullptr, descriptor.put()),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(HasDirectoryAccess(dacl, TokenUserSid(user)));
}
