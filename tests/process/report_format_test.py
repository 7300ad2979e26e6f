"""The tests' own packet reader against handmade packets: plain Python, no Wine."""
import time
import unittest
import zlib

from report_format import decode_packet

MACHINE = "0123456789abcdef0123456789abcdef"
# A fixed moment for the packets, and a window around it to read them in.
SENT = 1_800_000_000
WINDOW = {"earliest": SENT - 5, "latest": SENT + 5}


def scrambled(text):
    """A text as it travels: byte count, then the UTF-8 bytes XORed with 0xC5."""
    data = text.encode("utf-8")
    return len(data).to_bytes(2, "little") + bytes(b ^ 0xC5 for b in data)


def public_block(sent=SENT):
    return (b"\x52\x00" + sent.to_bytes(4, "little") + b"\x00\x00" + scrambled(MACHINE)
            + b"\x0c" + scrambled("1.1") + bytes.fromhex("07000000" "09000000" "e8030000"))


# Install record: step 4, err_code 3, sub_err_code -2, err_msg "parse url fail".
INSTALL = bytes.fromhex("0920" "04" "03" "feffffff") + scrambled("parse url fail")
# Uninstall record: user_info "开放", vip_level 3, reason 1, result 2.
UNINSTALL = bytes.fromhex("0b20") + scrambled("开放") + bytes.fromhex("030102")


def packet(blocks, count=None, length_delta=0, crc=None, crc_order="big", kind=0x52):
    """A packet framing the given block bytes; the keywords spoil one header field."""
    body = b"".join(blocks)
    count = len(blocks) if count is None else count
    crc = zlib.crc32(body) if crc is None else crc
    return ((10 + len(body) + length_delta).to_bytes(2, "little") + bytes([2, kind])
            + count.to_bytes(2, "little") + crc.to_bytes(4, crc_order) + body)


def flipped(data, offset):
    return data[:offset] + bytes([data[offset] ^ 0x01]) + data[offset + 1:]


PUBLIC = {"id": 0x52, "time": SENT, "reserved": "", "machine_id": MACHINE, "os": 12,
          "version": "1.1", "tid1": 7, "tid2": 9, "try_no": 1000}

GOOD = [
    ("install record", packet([public_block(), INSTALL]),
     {"schema": 8201, "name": "pic_install_new",
      "fields": {"step": 4, "err_code": 3, "sub_err_code": -2, "err_msg": "parse url fail"}}),
    ("uninstall record", packet([public_block(), UNINSTALL]),
     {"schema": 8203, "name": "pic_uninstall",
      "fields": {"user_info": "开放", "vip_level": 3, "reason": 1, "result": 2}}),
    ("no record", packet([public_block()]), None),
]

# (case, packet, a word the error must name): each packet is wrong in one way only.
BAD = [
    ("CRC with one bit changed", packet([public_block(), INSTALL],
                                        crc=zlib.crc32(public_block() + INSTALL) ^ 1), "CRC"),
    ("CRC least significant byte first", packet([public_block(), INSTALL], crc_order="little"),
     "CRC"),
    ("a block byte changed after the CRC", flipped(packet([public_block(), INSTALL]), 30), "CRC"),
    ("length field one more", packet([public_block(), INSTALL], length_delta=1), "length"),
    ("length field one less", packet([public_block(), INSTALL], length_delta=-1), "length"),
    ("header cut short", packet([public_block(), INSTALL])[:8], "header"),
    ("record cut in its text", packet([public_block(), INSTALL[:-3]]), "err_msg"),
    ("record cut before its text", packet([public_block(), INSTALL[:6]]), "sub_err_code"),
    ("a byte after the record", packet([public_block(), INSTALL + b"\x00"]), "after"),
    ("two blocks counted, one sent", packet([public_block()], count=2), "record block"),
    ("one block counted, two sent", packet([public_block(), INSTALL], count=1), "after"),
    ("unknown record id", packet([public_block(), b"\x0a\x20" + INSTALL[2:]]), "id 8202"),
    ("type byte 0x50", packet([public_block(), INSTALL], kind=0x50), "type"),
    ("public block id 0x50", packet([b"\x50" + public_block()[1:], INSTALL]), "public block"),
    # A local time east of Greenwich, as a clock read in the wrong zone would give.
    ("time an hour late", packet([public_block(SENT + 3600), INSTALL]), "time"),
    ("time an hour early", packet([public_block(SENT - 3600), INSTALL]), "time"),
    ("text not scrambled", packet([public_block(), INSTALL[:8] + b"\x03\x00abc"]),
     "UTF-8"),
]


class DecodePacketTest(unittest.TestCase):
    def test_sound_packets_read_back_their_values(self):
        for case, data, record in GOOD:
            with self.subTest(case):
                got = decode_packet(data, **WINDOW)
                self.assertEqual(got["public"], PUBLIC)
                self.assertEqual((got["length"], got["version"], got["type"], got["blocks"],
                                  got["crc"]),
                                 (len(data), 2, 0x52, 1 if record is None else 2,
                                  int.from_bytes(data[6:10], "big")))
                self.assertEqual(got.get("record"), record)

    def test_faulty_packets_are_refused_naming_the_fault(self):
        for case, data, word in BAD:
            with self.subTest(case):
                with self.assertRaises(AssertionError) as raised:
                    decode_packet(data, **WINDOW)
                self.assertIn(word, str(raised.exception))

    def test_the_record_block_of_a_download_failure_is_byte_for_byte(self):
        # ReportNewInstall(4, 3, 0, "parse url fail"): id, the numbers, the scrambled text.
        record = bytes.fromhex("0920" "0403" "00000000" "0e00") + bytes(
            b ^ 0xC5 for b in b"parse url fail")
        got = decode_packet(packet([public_block(), record]), **WINDOW)
        self.assertEqual(got["record"]["fields"],
                         {"step": 4, "err_code": 3, "sub_err_code": 0, "err_msg": "parse url fail"})

    def test_time_window_defaults_to_the_last_minutes(self):
        now = int(time.time())
        decode_packet(packet([public_block(now), INSTALL]))
        with self.assertRaises(AssertionError):
            decode_packet(packet([public_block(now + 3600), INSTALL]))


if __name__ == "__main__":
    unittest.main()
