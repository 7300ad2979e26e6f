#include "install/token_user.h"

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
