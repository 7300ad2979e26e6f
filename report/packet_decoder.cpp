#include "report/packet_decoder.h"

#include <zlib.h>

#include <cstring>

#include "base/text_convert.h"
#include "report/install_serialize.h"
#include "report/record_schemas.h"
#include "report/report_packet.h"
#include "report/serialize_kfmt.h"

namespace {

// Reads little-endian values and length-prefixed texts, refusing to pass the end.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Unsigned(int bytes, uint32_t* value) {
        if (size_ - pos_ < static_cast<size_t>(bytes)) return false;
        *value = 0;
        for (int i = 0; i < bytes; ++i) *value |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
        pos_ += static_cast<size_t>(bytes);
        return true;
    }

    bool Bytes(std::string* bytes, bool scrambled) {
        uint32_t n = 0;
        if (!Unsigned(2, &n) || size_ - pos_ < n) return false;
        bytes->assign(reinterpret_cast<const char*>(data_ + pos_), n);
        if (scrambled) {
            for (char& c : *bytes) c = static_cast<char>(static_cast<uint8_t>(c) ^ KDirectInfoc::kStringKey);
        }
        pos_ += n;
        return true;
    }

    bool Skip(size_t n) {
        if (size_ - pos_ < n) return false;
        pos_ += n;
        return true;
    }

    const uint8_t* here() const { return data_ + pos_; }
    size_t left() const { return size_ - pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool ReadPublic(Reader* in, DecodedPublic* block) {
    uint32_t id = 0, time = 0, os = 0, n1 = 0, n2 = 0, n3 = 0;
    if (!in->Unsigned(2, &id) || !in->Unsigned(4, &time) || !in->Bytes(&block->reserved, true) ||
        !in->Bytes(&block->machineId, true) || !in->Unsigned(1, &os) ||
        !in->Bytes(&block->version, true) || !in->Unsigned(4, &n1) || !in->Unsigned(4, &n2) ||
        !in->Unsigned(4, &n3)) {
        return false;
    }
    block->id = static_cast<uint16_t>(id);
    block->time = time;
    block->osCode = static_cast<uint8_t>(os);
    block->number1 = static_cast<int32_t>(n1);
    block->number2 = static_cast<int32_t>(n2);
    block->number3 = static_cast<int32_t>(n3);
    return true;
}

const wchar_t* SchemaFor(int blockId) {
    if (blockId == kInstallSchemaId) return kInstallSchema;
    if (blockId == kUninstallSchemaId) return kUninstallSchema;
    return nullptr;
}

// The record's values by its schema; the error text names what could not be read.
std::string ReadRecord(Reader* in, DecodedPacket* packet) {
    uint32_t id = 0;
    if (!in->Unsigned(2, &id)) return "truncated record block";
    packet->schemaId = static_cast<int>(id);
    const wchar_t* schema = SchemaFor(packet->schemaId);
    if (!schema) return "unknown schema id " + std::to_string(id);
    KSerializeKFMT format;
    format.ParseSchema(schema);
    packet->schemaName = WideToUtf8(format.name());
    size_t bitCount = 0;
    for (const auto& field : format.fields()) bitCount += field.second == L"bit" ? 1 : 0;
    const uint8_t* bitMap = in->here();
    if (!in->Skip((bitCount + 7) / 8)) return "truncated record bit map";
    size_t bit = 0;
    for (const auto& field : format.fields()) {
        DecodedField value;
        value.name = WideToUtf8(field.first);
        value.type = WideToUtf8(field.second);
        uint32_t number = 0;
        bool ok = true;
        if (value.type == "bit") {
            value.number = (bitMap[bit / 8] >> (bit % 8)) & 1;
            ++bit;
        } else if (value.type == "byte" || value.type == "short") {
            ok = in->Unsigned(value.type == "byte" ? 1 : 2, &number);
            value.number = number;
        } else if (value.type == "int") {
            ok = in->Unsigned(4, &number);
            value.number = static_cast<int32_t>(number);
        } else {
            ok = in->Bytes(&value.bytes, value.type == "string");
        }
        if (!ok) return "truncated record field " + value.name;
        packet->fields.push_back(value);
    }
    return "";
}

}  // namespace

DecodedPacket DecodePacket(const uint8_t* data, size_t size) {
    DecodedPacket packet;
    if (size < sizeof(ReportPacketHeader)) {
        packet.error = "truncated header (" + std::to_string(size) + " bytes)";
        return packet;
    }
    ReportPacketHeader header;
    std::memcpy(&header, data, sizeof(header));
    packet.length = header.length;
    packet.version = header.version;
    packet.type = header.type;
    packet.blocks = header.blocks;
    packet.crc = static_cast<uint32_t>(header.crc[0]) << 24 | static_cast<uint32_t>(header.crc[1]) << 16 |
                 static_cast<uint32_t>(header.crc[2]) << 8 | header.crc[3];
    if (packet.length != static_cast<uint16_t>(size)) {
        packet.error = "length field " + std::to_string(packet.length) + " but " +
                       std::to_string(size) + " bytes";
        return packet;
    }
    const uint8_t* body = data + sizeof(header);
    const size_t bodySize = size - sizeof(header);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), body, static_cast<uInt>(bodySize));
    if (crc != packet.crc) {
        packet.error = "crc mismatch";
        return packet;
    }
    if (packet.version != kReportPacketVersion) {
        packet.error = "unknown packet version " + std::to_string(packet.version);
        return packet;
    }
    if (packet.blocks != 1 && packet.blocks != 2) {
        packet.error = "unexpected block count " + std::to_string(packet.blocks);
        return packet;
    }
    Reader in(body, bodySize);
    if (!ReadPublic(&in, &packet.publicBlock)) {
        packet.error = "truncated public block";
        return packet;
    }
    packet.hasPublic = true;
    if (packet.publicBlock.id != packet.type) {
        packet.error = "public block id does not match the packet type";
        return packet;
    }
    if (packet.blocks == 2) {
        packet.hasRecord = true;
        packet.error = ReadRecord(&in, &packet);
        if (!packet.error.empty()) return packet;
    }
    if (in.left() != 0) packet.error = std::to_string(in.left()) + " bytes after the last block";
    return packet;
}
