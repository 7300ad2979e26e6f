// The common encoder of every report block: typed values, a bit map and a block id.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KDirectInfoc {

// Strings are scrambled on the wire with this one-byte key.
constexpr uint8_t kStringKey = 0xC5;
// Lengths of strings and binaries travel in 16 bits.
constexpr size_t kMaxFieldBytes = 0xFFFF;

class KInstallSerialize {
public:
    explicit KInstallSerialize(uint16_t id = 0) : id_(id) {}
    virtual ~KInstallSerialize() = default;

    void WriteBit(int v);
    void WriteByte(int v);
    void WriteShort(int v);
    void WriteInt(int v);
    // UTF-8, XORed with kStringKey, after a 2-byte length.
    void WriteString(const std::wstring& text);
    // The bytes as they are, after a 2-byte length.
    void WriteBinary(const uint8_t* bytes, size_t size);

    // id, then the bit map (bit i is bit i%8 of byte i/8), then the values.
    void Finish();

    uint16_t id() const { return id_; }
    void set_id(uint16_t id) { id_ = id; }
    const std::vector<uint8_t>& out() const { return out_; }

private:
    void AppendLength(size_t n);

    std::vector<uint8_t> values_;
    std::vector<uint8_t> bits_;
    uint16_t id_;
    std::vector<uint8_t> out_;
};

// The UTF-8 bytes of `text` that fit a 16-bit length, cut at a character boundary.
std::string FieldUtf8(const std::wstring& text);

}  // namespace KDirectInfoc
