#include "install/token_user.h"

#include <aclapi.h>

std::unique_ptr<BYTE[]> ReadTokenUser(HANDLE token) {
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, nullptr, 0, &size) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return nullptr;
    }
    if (size < sizeof(TOKEN_USER)) return nullptr;
    std::unique_ptr<BYTE[]> block(new BYTE[size]);
    if (!GetTokenInformation(token, TokenUser, block.get(), size, &size)) return nullptr;
    return block;
}

DWORD MergeUserAccess(PACL dacl, PSID user, DWORD rights, DWORD inheritance, PACL* merged) {
    EXPLICIT_ACCESSW access = {};
    access.grfAccessPermissions = rights;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = inheritance;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_USER;
    access.Trustee.ptstrName = static_cast<LPWSTR>(user);
    return SetEntriesInAclW(1, &access, dacl, merged);
}
