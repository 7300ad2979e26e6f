#include "report/install_serialize.h"

#include <algorithm>

#include "base/text_convert.h"

namespace KDirectInfoc {

namespace {

void AppendLittleEndian(std::vector<uint8_t>* buffer, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) buffer->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::string FieldUtf8(const std::wstring& text) {
    std::string utf8 = WideToUtf8(text);
    if (utf8.size() <= kMaxFieldBytes) return utf8;
    // Longer texts are cut rather than having their length wrap around; continuation
    // bytes (10xxxxxx) are dropped with the character they belong to.
    size_t end = kMaxFieldBytes;
    while (end > 0 && (static_cast<uint8_t>(utf8[end]) & 0xC0) == 0x80) --end;
    utf8.resize(end);
    return utf8;
}

void KInstallSerialize::WriteBit(int v) { bits_.push_back(v > 0 ? 1 : 0); }

void KInstallSerialize::WriteByte(int v) { AppendLittleEndian(&values_, static_cast<uint32_t>(v), 1); }

void KInstallSerialize::WriteShort(int v) { AppendLittleEndian(&values_, static_cast<uint32_t>(v), 2); }

void KInstallSerialize::WriteInt(int v) { AppendLittleEndian(&values_, static_cast<uint32_t>(v), 4); }

void KInstallSerialize::AppendLength(size_t n) {
    AppendLittleEndian(&values_, static_cast<uint32_t>(n), 2);
}

void KInstallSerialize::WriteString(const std::wstring& text) {
    const std::string utf8 = FieldUtf8(text);
    AppendLength(utf8.size());
    for (char c : utf8) values_.push_back(static_cast<uint8_t>(c) ^ kStringKey);
}

void KInstallSerialize::WriteBinary(const uint8_t* bytes, size_t size) {
    const size_t n = bytes ? std::min(size, kMaxFieldBytes) : 0;
    AppendLength(n);
    values_.insert(values_.end(), bytes, bytes + n);
}

void KInstallSerialize::Finish() {
    out_.clear();
    AppendLittleEndian(&out_, id_, 2);
    const size_t mapStart = out_.size();
    out_.resize(mapStart + (bits_.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits_.size(); ++i) {
        if (bits_[i]) out_[mapStart + i / 8] |= static_cast<uint8_t>(1u << (i % 8));
    }
    out_.insert(out_.end(), values_.begin(), values_.end());
}

}  // namespace KDirectInfoc
