#include "tools/collector/report_json.h"

#include <cstdio>

namespace {

bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        size_t extra = 0;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) {
                extra = 1;
            } else if ((lead & 0xF0) == 0xE0) {
                extra = 2;
            } else if ((lead & 0xF8) == 0xF0) {
                extra = 3;
            } else {
                return false;
            }
        }
        if (text.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

// A JSON string; text that is not UTF-8 is given byte by byte as U+0000..U+00FF.
std::string Quote(const std::string& text) {
    const bool utf8 = IsValidUtf8(text);
    std::string out = "\"";
    for (char c : text) {
        const uint8_t byte = static_cast<uint8_t>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || (!utf8 && byte >= 0x80)) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Hex(const uint8_t* bytes, size_t size) {
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 0x0F];
    }
    return hex;
}

std::string FieldValue(const DecodedField& field) {
    if (field.type == "string") return Quote(field.bytes);
    if (field.type == "binary") {
        return Quote(Hex(reinterpret_cast<const uint8_t*>(field.bytes.data()), field.bytes.size()));
    }
    return std::to_string(field.number);
}

}  // namespace

std::string ReportJsonLine(const DecodedPacket& packet, const uint8_t* raw, size_t size) {
    std::string line = "{\"ok\":";
    line += packet.error.empty() ? "true" : "false";
    line += ",\"error\":" + Quote(packet.error);
    line += ",\"length\":" + std::to_string(packet.length);
    line += ",\"version\":" + std::to_string(packet.version);
    line += ",\"type\":" + std::to_string(packet.type);
    line += ",\"blocks\":" + std::to_string(packet.blocks);
    line += ",\"crc\":" + std::to_string(packet.crc);
    if (packet.hasPublic) {
        const DecodedPublic& p = packet.publicBlock;
        line += ",\"public\":{\"id\":" + std::to_string(p.id) + ",\"time\":" + std::to_string(p.time) +
                ",\"reserved\":" + Quote(p.reserved) + ",\"machine_id\":" + Quote(p.machineId) +
                ",\"os\":" + std::to_string(p.osCode) + ",\"version\":" + Quote(p.version) +
                ",\"tid1\":" + std::to_string(p.number1) + ",\"tid2\":" + std::to_string(p.number2) +
                ",\"try_no\":" + std::to_string(p.number3) + "}";
    }
    if (packet.hasRecord) {
        line += ",\"record\":{\"schema\":" + std::to_string(packet.schemaId) +
                ",\"name\":" + Quote(packet.schemaName) + ",\"fields\":{";
        for (size_t i = 0; i < packet.fields.size(); ++i) {
            if (i) line += ",";
            line += Quote(packet.fields[i].name) + ":" + FieldValue(packet.fields[i]);
        }
        line += "}}";
    }
    line += ",\"raw\":\"" + Hex(raw, size) + "\"}";
    return line;
}
