// A seekable 7-Zip input stream over a block of memory that belongs to the caller, so an
// embedded package is read in place without a copy. The block must outlive the stream.
#pragma once

#include "Common/MyCom.h"
#include "7zip/IStream.h"

class CInMemoryStream Z7_final : public IInStream, public IStreamGetSize, public CMyUnknownImp {
    Z7_COM_UNKNOWN_IMP_3(IInStream, ISequentialInStream, IStreamGetSize)
    Z7_IFACE_COM7_IMP(ISequentialInStream)
    Z7_IFACE_COM7_IMP(IInStream)
    Z7_IFACE_COM7_IMP(IStreamGetSize)

public:
    CInMemoryStream(const void* data, UInt64 size)
        : data_(static_cast<const Byte*>(data)), size_(size) {}

private:
    const Byte* data_;
    UInt64 size_;
    UInt64 position_ = 0;
};
