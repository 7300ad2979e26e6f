#include "report/md5_hex.h"

#include "base/digest.h"

std::string Md5Hex(const void* data, size_t size) {
    Digest digest(BCRYPT_MD5_ALGORITHM);
    digest.Add(data, size);
    return digest.FinishHex();
}
