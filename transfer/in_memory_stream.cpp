#include "transfer/in_memory_stream.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr HRESULT kNoData = static_cast<HRESULT>(0x80070002);          // file not found
constexpr HRESULT kNegativeSeek = static_cast<HRESULT>(0x80070083);
constexpr HRESULT kSeekPastEnd = static_cast<HRESULT>(0x80070084);
}  // namespace

Z7_COM7F_IMF(CInMemoryStream::Read(void* buffer, UInt32 size, UInt32* processed)) {
    if (processed) *processed = 0;
    if (!data_) return kNoData;
    const UInt64 left = size_ - position_;
    const UInt32 n = left < size ? static_cast<UInt32>(left) : size;
    memcpy(buffer, data_ + position_, n);
    position_ += n;
    if (processed) *processed = n;
    return S_OK;
}

Z7_COM7F_IMF(CInMemoryStream::Seek(Int64 offset, UInt32 origin, UInt64* newPosition)) {
    if (!data_) return kNoData;
    Int64 base = 0;
    switch (origin) {
        case STREAM_SEEK_SET: break;
        case STREAM_SEEK_CUR: base = static_cast<Int64>(position_); break;
        case STREAM_SEEK_END: base = static_cast<Int64>(size_); break;
        default: offset = 0; break;
    }
    // The base is at most the buffer's size; only an offset near the type's limit could
    // overflow the sum, and it lies past the end anyway.
    if (offset > INT64_MAX - base) return kSeekPastEnd;
    const Int64 target = base + offset;
    if (target < 0) return kNegativeSeek;
    if (static_cast<UInt64>(target) > size_) return kSeekPastEnd;
    position_ = static_cast<UInt64>(target);
    if (newPosition) *newPosition = position_;
    return S_OK;
}

Z7_COM7F_IMF(CInMemoryStream::GetSize(UInt64* size)) {
    *size = size_;
    return S_OK;
}
