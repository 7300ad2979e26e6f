#include "install/permissions.h"

#include <aclapi.h>

#include <memory>

#include "base/diagnostics.h"
#include "base/handles.h"
#include "install/token_user.h"

namespace {

constexpr BYTE kInheritedByChildren = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

}  // namespace

bool HasDirectoryAccess(PACL dacl, PSID user) {
    ACL_SIZE_INFORMATION size = {};
    if (!dacl || !GetAclInformation(dacl, &size, sizeof(size), AclSizeInformation)) return false;
    bool allowed = false;
    for (DWORD i = 0; i < size.AceCount; ++i) {
        void* raw = nullptr;
        if (!GetAce(dacl, i, &raw)) return false;
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(raw);
        // Both entry kinds share the layout: header, mask, then the SID.
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);
        if (!EqualSid(const_cast<DWORD*>(&ace->SidStart), user)) continue;
        if (header->AceType == ACCESS_DENIED_ACE_TYPE) {
            if (ace->Mask & kDirectoryUserRights) return false;
        } else if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            const bool appliesHere = (header->AceFlags & INHERIT_ONLY_ACE) == 0;
            const bool inherited = (header->AceFlags & kInheritedByChildren) == kInheritedByChildren;
            if (appliesHere && inherited &&
                (ace->Mask & kDirectoryUserRights) == kDirectoryUserRights) {
                allowed = true;
            }
        }
    }
    return allowed;
}

void GrantDirectoryAccess(const std::wstring& dir) {
    if (dir.empty() || GetFileAttributesW(dir.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        DebugPrint(L"Failed to open process token.");
        return;
    }
    const std::unique_ptr<BYTE[]> user = ReadTokenUser(token.get());
    if (!user) return;

    PACL dacl = nullptr;
    UniqueLocalPointer<PSECURITY_DESCRIPTOR> descriptor;
    if (GetNamedSecurityInfoW(dir.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, descriptor.put()) != ERROR_SUCCESS) {
        DebugPrint(L"Failed to get security info.");
        return;
    }
    if (HasDirectoryAccess(dacl, TokenUserSid(user))) return;

    UniqueLocalPointer<PACL> merged;
    if (MergeUserAccess(dacl, TokenUserSid(user), kDirectoryUserRights, kInheritedByChildren,
                        merged.put()) != ERROR_SUCCESS) {
        DebugPrint(L"Failed to set entries in ACL.");
        return;
    }
    std::wstring name = dir;
    if (SetNamedSecurityInfoW(&name[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, merged.get(), nullptr) != ERROR_SUCCESS) {
        DebugPrint(L"Failed to set security info.");
    }
}
