#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

#include "report/install_serialize.h"
#include "report/packet_decoder.h"
#include "report/public_block.h"
#include "report/record_schemas.h"
#include "report/report_packet.h"
#include "report/serialize_kfmt.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Scrambled(const std::string& utf8) {
    Bytes out;
    for (char c : utf8) out.push_back(static_cast<uint8_t>(c) ^ 0xC5);
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

KSerializeKFMT InstallRecord(int step, int err, int sub, const std::wstring& message) {
    KSerializeKFMT record;
    EXPECT_TRUE(record.ParseSchema(kInstallSchema));
    record.AddInt(L"step", step);
    record.AddInt(L"err_code", err);
    record.AddInt(L"sub_err_code", sub);
    record.AddString(L"err_msg", message);
    record.Finish();
    return record;
}

}  // namespace

TEST(RecordFormat, ByteExamples) {
    EXPECT_EQ(InstallRecord(3, 1, 0, L"").out(), (Bytes{0x09, 0x20, 3, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(InstallRecord(4, 3, 0, L"parse url fail").out(),
              Concat({{0x09, 0x20, 4, 3, 0, 0, 0, 0, 0x0E, 0x00}, Scrambled("parse url fail")}));

    KDirectInfoc::KInstallSerialize abc;
    abc.WriteString(L"abc");
    abc.Finish();
    EXPECT_EQ(abc.out(), (Bytes{0, 0, 3, 0, 0x61 ^ 0xC5, 0x62 ^ 0xC5, 0x63 ^ 0xC5}));

    KSerializeKFMT bits;
    ASSERT_TRUE(bits.ParseSchema(L"x:1 a:bit b:bit c:byte"));
    bits.AddInt(L"a", 1);
    bits.AddInt(L"b", 0);
    bits.AddInt(L"c", 7);
    bits.Finish();
    EXPECT_EQ(bits.out(), (Bytes{0x01, 0x00, 0x01, 0x07}));

    // Nine bits take two map bytes; short and int are little-endian, binary is not scrambled.
    KSerializeKFMT wide;
    ASSERT_TRUE(wide.ParseSchema(L"w:2 a:bit b:bit c:bit d:bit e:bit f:bit g:bit h:bit i:bit s:short n:int z:binary"));
    for (wchar_t name = L'a'; name <= L'i'; ++name) wide.AddInt(std::wstring(1, name), name == L'i' ? 1 : 0);
    wide.AddInt(L"s", 0x1234);
    wide.AddInt(L"n", -2);
    const uint8_t blob[] = {0xC5, 0x00};
    wide.AddBinary(L"z", blob, 2);
    wide.Finish();
    EXPECT_EQ(wide.out(), (Bytes{2, 0, 0x00, 0x01, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 2, 0, 0xC5, 0x00}));
}

TEST(RecordFormat, ValuesOnlyInSchemaOrder) {
    KSerializeKFMT record;
    ASSERT_TRUE(record.ParseSchema(kInstallSchema));
    EXPECT_FALSE(record.AddInt(L"err_code", 1));
    EXPECT_FALSE(record.AddInt(L"step", 3));
    EXPECT_FALSE(record.AddInt(L"sub_err_code", 0));
    EXPECT_FALSE(record.AddString(L"err_msg", L"x"));
    record.Finish();
    EXPECT_EQ(record.out(), (Bytes{0x09, 0x20}));

    // A type the operation does not serve, and a name that differs in case, are refused.
    const struct {
        const wchar_t* schema;
        bool taken;
    } cases[] = {{L"h:1 f:string", false}, {L"h:1 F:int", false}, {L"h:1 f:int", true}, {L"h:1 f:long", false}};
    for (const auto& c : cases) {
        KSerializeKFMT one;
        one.ParseSchema(c.schema);
        EXPECT_EQ(one.AddInt(L"f", 1), c.taken) << c.schema;
    }
}

TEST(RecordFormat, ParseSchemaTable) {
    const struct {
        const wchar_t* schema;
        bool result;
        int schemaId;
        uint16_t blockId;
        size_t fields;
    } cases[] = {
        {kInstallSchema, true, 8201, 0x2009, 4},
        {kUninstallSchema, true, 8203, 0x200B, 4},
        {L"", false, 0, 0, 0},
        {L"only:12", false, 0, 0, 0},            // the header alone: no fields, id stays 0
        {L"noid a:int", false, 0, 0, 0},         // a header without ":" stops the scan
        {L"h:x a:int", true, 0, 0, 1},           // no digits give id 0
        {L"h:70000 a:int", true, 70000, 70000 & 0xFFFF, 1},
        {L"h:1  a:int", true, 1, 1, 2},          // a doubled space adds an empty pair
        {L"h:1 a:int ", true, 1, 1, 2},          // so does a trailing space
        {L"h:1 plain", true, 1, 1, 1},
    };
    for (const auto& c : cases) {
        KSerializeKFMT record;
        EXPECT_EQ(record.ParseSchema(c.schema), c.result) << c.schema;
        EXPECT_EQ(record.schema_id(), c.schemaId) << c.schema;
        EXPECT_EQ(record.id(), c.blockId) << c.schema;
        EXPECT_EQ(record.fields().size(), c.fields) << c.schema;
    }
    KSerializeKFMT spaced;
    spaced.ParseSchema(L"h:1  a:int");
    EXPECT_EQ(spaced.fields()[0], KSerializeKFMT::Field());
    EXPECT_FALSE(spaced.AddInt(L"", 1));  // an empty pair matches no value
}

TEST(RecordFormat, LongStringsAreCutAtACharacterNotWrapped) {
    // 21846 three-byte characters are 65538 bytes: a wrapped length would say 2.
    const std::wstring text(21846, L'文');
    KDirectInfoc::KInstallSerialize block;
    block.WriteString(text);
    block.Finish();
    const Bytes& out = block.out();
    const size_t n = out[2] | (out[3] << 8);
    EXPECT_EQ(n, 65535u);
    EXPECT_EQ(out.size(), 4 + n);
    EXPECT_EQ(out.back() ^ 0xC5, 0x87);  // the last byte of a whole 文 (E6 96 87)
}

TEST(RecordFormat, PacketFrameAndRoundTrip) {
    KDirectInfoc::KPublicBlock publicBlock;
    KDirectInfoc::WritePublic(&publicBlock, 3, L"0123456789abcdef0123456789abcdef", L"1.1", 7, -9, 1000,
                              0x5A5A1234);
    EXPECT_EQ(publicBlock.out().size(), 2u + 4 + 2 + (2 + 32) + 1 + (2 + 3) + 12);
    EXPECT_EQ(publicBlock.out()[0], 0x52);

    // Only the public block: one block, and the CRC covers exactly the bytes after the header.
    const Bytes single = BuildPacket(3, {&publicBlock});
    ASSERT_EQ(single.size(), 10 + publicBlock.out().size());
    EXPECT_EQ(single[0] | (single[1] << 8), static_cast<int>(single.size()));
    EXPECT_EQ(single[2], 2);
    EXPECT_EQ(single[3], 0x52);
    EXPECT_EQ(single[4] | (single[5] << 8), 1);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), publicBlock.out().data(),
                            static_cast<uInt>(publicBlock.out().size()));
    EXPECT_EQ(single[6], (crc >> 24) & 0xFF);
    EXPECT_EQ(single[9], crc & 0xFF);

    const KSerializeKFMT record = InstallRecord(6, 4, 0x102, L"解压失败 \"x\"");
    const Bytes packet = BuildPacket(3, {&publicBlock, &record});
    const DecodedPacket decoded = DecodePacket(packet.data(), packet.size());
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.blocks, 2);
    EXPECT_EQ(decoded.publicBlock.time, 0x5A5A1234u);
    EXPECT_EQ(decoded.publicBlock.machineId, "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(decoded.publicBlock.version, "1.1");
    EXPECT_EQ(decoded.publicBlock.number2, -9);
    EXPECT_EQ(decoded.schemaName, "pic_install_new");
    ASSERT_EQ(decoded.fields.size(), 4u);
    EXPECT_EQ(decoded.fields[2].number, 0x102);
    EXPECT_EQ(decoded.fields[3].bytes, u8"解压失败 \"x\"");

    // The type byte follows the report type.
    for (const auto& typed : {std::make_pair(2, 0x51), std::make_pair(3, 0x52), std::make_pair(0, 0x50)}) {
        KDirectInfoc::KPublicBlock block;
        KDirectInfoc::WritePublic(&block, typed.first, L"", L"", 0, 0, 0);
        const Bytes framed = BuildPacket(typed.first, {&block});
        EXPECT_EQ(framed[3], typed.second);
        EXPECT_EQ(DecodePacket(framed.data(), framed.size()).error, "");
    }
}

TEST(RecordFormat, DecoderNamesWhatIsWrong) {
    KDirectInfoc::KPublicBlock publicBlock;
    KDirectInfoc::WritePublic(&publicBlock, 3, L"id", L"v", 1, 2, 3);
    const KSerializeKFMT record = InstallRecord(1, 1, 0, L"message");
    const Bytes good = BuildPacket(3, {&publicBlock, &record});

    KSerializeKFMT unknown;
    unknown.ParseSchema(L"other:9999 a:int");
    unknown.AddInt(L"a", 1);
    unknown.Finish();
    const Bytes unknownSchema = BuildPacket(3, {&publicBlock, &unknown});

    KSerializeKFMT shortRecord;
    shortRecord.ParseSchema(kInstallSchema);
    shortRecord.AddInt(L"step", 1);  // the later fields are missing
    shortRecord.Finish();
    const Bytes truncatedRecord = BuildPacket(3, {&publicBlock, &shortRecord});

    Bytes badCrc = good;
    badCrc.at(20) ^= 1;
    Bytes overrun = good;
    overrun[0] = static_cast<uint8_t>(good.size() + 40);
    // A string length that runs past the end, with a matching header and CRC.
    KDirectInfoc::KInstallSerialize liar(0x52);
    liar.WriteInt(0);
    liar.WriteShort(500);
    liar.Finish();
    const Bytes lengthOverrun = BuildPacket(3, {&liar});

    const struct {
        const char* name;
        Bytes packet;
        std::string error;
    } cases[] = {
        {"good", good, ""},
        {"empty", {}, "truncated header (0 bytes)"},
        {"header cut", Bytes(good.begin(), good.begin() + 7), "truncated header (7 bytes)"},
        {"body cut", Bytes(good.begin(), good.end() - 3), "length field"},
        {"length overrun", overrun, "length field"},
        {"bad crc", badCrc, "crc mismatch"},
        {"unknown schema", unknownSchema, "unknown schema id 9999"},
        {"short record", truncatedRecord, "truncated record field err_code"},
        {"string overrun", lengthOverrun, "truncated public block"},
    };
    for (const auto& c : cases) {
        const DecodedPacket decoded = DecodePacket(c.packet.data(), c.packet.size());
        EXPECT_EQ(decoded.error.substr(0, c.error.size()), c.error) << c.name << ": " << decoded.error;
        EXPECT_EQ(decoded.error.empty(), c.error.empty()) << c.name;
    }
    // Trailing bytes inside the declared length are reported too.
    Bytes trailing = BuildPacket(3, {&publicBlock, &record});
    trailing.push_back(0xAA);
    trailing[0] = static_cast<uint8_t>(trailing.size());
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), trailing.data() + 10, static_cast<uInt>(trailing.size() - 10));
    for (int i = 0; i < 4; ++i) trailing[6 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_EQ(DecodePacket(trailing.data(), trailing.size()).error, "1 bytes after the last block");
}
