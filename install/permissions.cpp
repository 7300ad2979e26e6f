#include "install/permissions.h"

#include <aclapi.h>

#include <cstdio>
#include <memory>

#include "app/win_handle.h"
#include "install/install_handles.h"
#include "install/token_user.h"

namespace {

constexpr BYTE kInheritedByChildren = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

void ReportFailure(const char* text) {
    std::fputs(text, stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

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
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        ReportFailure("Failed to open process token.");
        return;
    }
    const UniqueHandle token(rawToken);
    const std::unique_ptr<BYTE[]> user = ReadTokenUser(token.get());
    if (!user) return;

    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(dir.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        ReportFailure("Failed to get security info.");
        return;
    }
    const UniqueLocalMemory descriptorOwner(descriptor);
    if (HasDirectoryAccess(dacl, TokenUserSid(user))) return;

    PACL merged = nullptr;
    if (MergeUserAccess(dacl, TokenUserSid(user), kDirectoryUserRights, kInheritedByChildren,
                        &merged) != ERROR_SUCCESS) {
        ReportFailure("Failed to set entries in ACL.");
        return;
    }
    const UniqueLocalMemory mergedOwner(merged);
    std::wstring name = dir;
    if (SetNamedSecurityInfoW(&name[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, merged, nullptr) != ERROR_SUCCESS) {
        ReportFailure("Failed to set security info.");
    }
}
