// The collector's packet decoder (report/packet_decoder.cpp): any bytes posted to it. Each
// input is decoded twice: as it is, and as the body of a packet whose header (length, version
// and CRC) is made right, so that the blocks behind the CRC check are reached too.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "native/fuzz_check.h"
#include "report/packet_decoder.h"
#include "report/record_schemas.h"
#include "report/report_packet.h"

namespace {

void Check(const DecodedPacket& packet) {
    if (!packet.error.empty()) return;
    // A sound packet has its public block and, with two blocks, a whole record.
    FUZZ_CHECK(packet.hasPublic);
    FUZZ_CHECK(packet.blocks == 1 || packet.blocks == 2);
    FUZZ_CHECK(packet.hasRecord == (packet.blocks == 2));
    if (packet.hasRecord) {
        FUZZ_CHECK(packet.schemaId == kInstallSchemaId || packet.schemaId == kUninstallSchemaId);
        FUZZ_CHECK(packet.fields.size() == 4);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(DecodePacket(data, size));

    // Framed: the first two input bytes give the type and the block count (1 or 2); the rest
    // is the body.
    if (size < 2) return 0;
    const uint8_t* body = data + 2;
    const size_t bodySize = size - 2;
    if (bodySize + sizeof(ReportPacketHeader) > 0xFFFF) return 0;
    ReportPacketHeader header = {};
    header.length = static_cast<uint16_t>(sizeof(header) + bodySize);
    header.version = kReportPacketVersion;
    header.type = data[0];
    header.blocks = static_cast<uint16_t>(1 + (data[1] & 1));
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), body, static_cast<uInt>(bodySize));
    for (int i = 0; i < 4; ++i) header.crc[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    // An exact-size copy, so that any read past the end is caught.
    std::vector<uint8_t> packet(sizeof(header) + bodySize);
    std::memcpy(packet.data(), &header, sizeof(header));
    if (bodySize) std::memcpy(packet.data() + sizeof(header), body, bodySize);
    const DecodedPacket framed = DecodePacket(packet.data(), packet.size());
    FUZZ_CHECK(framed.error.find("crc") == std::string::npos);
    FUZZ_CHECK(framed.error.find("length field") == std::string::npos);
    Check(framed);
    return 0;
}
