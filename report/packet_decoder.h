// The receiving side of the report format: checks a posted packet and reads its blocks back,
// for the report collector and for tests that compare what was sent with what arrives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DecodedField {
    std::string name;
    std::string type;  // "bit", "byte", "short", "int", "string" or "binary"
    int64_t number = 0;             // bit, byte, short (unsigned) and int (signed)
    std::string bytes;              // string (un-XORed UTF-8) or binary
};

struct DecodedPublic {
    uint16_t id = 0;
    uint32_t time = 0;
    std::string reserved;  // the always-empty first text
    std::string machineId;
    uint8_t osCode = 0;
    std::string version;
    int32_t number1 = 0, number2 = 0, number3 = 0;
};

struct DecodedPacket {
    uint16_t length = 0;
    uint8_t version = 0;
    uint8_t type = 0;
    uint16_t blocks = 0;
    uint32_t crc = 0;
    bool hasPublic = false;
    DecodedPublic publicBlock;
    bool hasRecord = false;
    int schemaId = 0;
    std::string schemaName;
    std::vector<DecodedField> fields;
    // Empty for a sound packet; otherwise what is wrong, with everything read before it kept.
    std::string error;
};

// Never reads outside [data, data + size).
DecodedPacket DecodePacket(const uint8_t* data, size_t size);
