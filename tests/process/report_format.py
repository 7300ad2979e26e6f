"""A reading of report packets of the tests' own, apart from the product's decoder, so that a
fault the product's encoder and decoder share still shows.

A packet is a 10-byte header and the blocks it frames:

    0  2  total length of the packet, header included, modulo 65536 (little-endian)
    2  1  format version, 2
    3  1  report type: 0x50, 0x51 or 0x52 (the installer always sends 0x52)
    4  2  number of blocks: 2 with a record, 1 without (little-endian)
    6  4  CRC-32 (zlib's) of every byte from offset 10 on, most significant byte first
   10     the public block, then the record block

A block is its 16-bit id, a bit map (one bit per "bit" field, none here) and its values in
order, without any length of its own: each value's size comes from the block's schema. All
numbers are little-endian; a text is its UTF-8 byte count (16 bits) and the bytes, each XORed
with 0xC5.

decode_packet() reads one packet and returns what it says, or raises AssertionError naming
the first thing that is wrong.
"""
import re
import struct
import time
import zlib

HEADER_SIZE = 10
FORMAT_VERSION = 2
# The installer's reporter always sends reports of type 3, whose header byte and public block
# id are both 0x52.
INSTALLER_TYPE = 0x52
STRING_KEY = 0xC5
# The operating-system codes a public block may carry when the system was identified.
OS_CODES = range(1, 14)
MACHINE_ID = re.compile(r"[0-9a-f]{32}")
# The two records the installer sends, as schema strings: "name:id" and then "field:type".
SCHEMAS = (
    "pic_install_new:8201 step:byte err_code:byte sub_err_code:int err_msg:string",
    "pic_uninstall:8203 user_info:string vip_level:byte reason:byte result:byte",
)
# Seconds the packet's time may stray outside the window it was sent in: it is a whole
# number of seconds, cut off, and the host and the program under Wine read one clock.
CLOCK_SLACK = 2
# The window of a packet's time when the caller gives none: sent within the last ten minutes.
DEFAULT_WINDOW = 600


def _parse_schema(text):
    head, *fields = text.split(" ")
    name, schema_id = head.split(":")
    return int(schema_id), {"name": name, "fields": [tuple(f.split(":")) for f in fields]}


RECORDS = dict(_parse_schema(s) for s in SCHEMAS)


class _Reader:
    """Reads the values of one block in order and says which value ran past its end."""

    def __init__(self, data, block):
        self.data, self.at, self.block = data, 0, block

    def take(self, size, what):
        if self.at + size > len(self.data):
            raise AssertionError("%s: %s needs %d bytes at offset %d, the block has only %d"
                                 % (self.block, what, size, self.at, len(self.data) - self.at))
        piece = self.data[self.at:self.at + size]
        self.at += size
        return piece

    def number(self, fmt, what):
        return struct.unpack("<" + fmt, self.take(struct.calcsize(fmt), what))[0]

    def text(self, what):
        size = self.number("H", what + " length")
        scrambled = self.take(size, what)
        try:
            return bytes(b ^ STRING_KEY for b in scrambled).decode("utf-8")
        except UnicodeDecodeError as error:
            raise AssertionError("%s: %s is not UTF-8 once unscrambled with 0x%02X (%s): %s"
                                 % (self.block, what, STRING_KEY, scrambled.hex(), error))

    def value(self, kind, what):
        if kind == "byte":
            return self.number("B", what)
        if kind == "short":
            return self.number("h", what)
        if kind == "int":
            return self.number("i", what)
        if kind == "string":
            return self.text(what)
        if kind == "binary":
            return self.take(self.number("H", what + " length"), what).hex()
        raise AssertionError("%s: field %s has the unknown type %r" % (self.block, what, kind))


def _public_block(reader, earliest, latest):
    """The values of the public block, in the order they travel."""
    block_id = reader.number("H", "block id")
    if block_id != INSTALLER_TYPE:
        raise AssertionError("public block: id 0x%04X, expected 0x%02X"
                             % (block_id, INSTALLER_TYPE))
    public = {"id": block_id}
    public["time"] = reader.number("I", "time")
    # Seconds since 1970-01-01 UTC, as time.time() counts them: a local time would be off by
    # the zone's offset.
    if not earliest - CLOCK_SLACK <= public["time"] <= latest + CLOCK_SLACK:
        raise AssertionError("public block: time %d (%s UTC) is outside the window the report "
                             "was sent in, %d..%d (%s..%s UTC)"
                             % (public["time"], _utc(public["time"]), earliest, latest,
                                _utc(earliest), _utc(latest)))
    public["reserved"] = reader.text("reserved text")
    if public["reserved"] != "":
        raise AssertionError("public block: the reserved text is %r, expected empty"
                             % public["reserved"])
    public["machine_id"] = reader.text("machine id")
    if not MACHINE_ID.fullmatch(public["machine_id"]):
        raise AssertionError("public block: machine id %r is not 32 lowercase hex digits"
                             % public["machine_id"])
    public["os"] = reader.number("B", "OS code")
    if public["os"] not in OS_CODES:
        raise AssertionError("public block: OS code %d is none of %d..%d"
                             % (public["os"], OS_CODES[0], OS_CODES[-1]))
    public["version"] = reader.text("version")
    if not public["version"] or not public["version"].isprintable():
        raise AssertionError("public block: version %r is empty or not printable"
                             % public["version"])
    public["tid1"] = reader.number("i", "tid1")
    public["tid2"] = reader.number("i", "tid2")
    public["try_no"] = reader.number("i", "try_no")
    return public


def _record_block(reader):
    """The schema id, name and named values of a record block."""
    schema_id = reader.number("H", "block id")
    if schema_id not in RECORDS:
        raise AssertionError("record block: id %d is neither record the installer sends (%s)"
                             % (schema_id, ", ".join(str(s) for s in RECORDS)))
    schema = RECORDS[schema_id]
    bit_fields = [name for name, kind in schema["fields"] if kind == "bit"]
    bitmap = reader.take((len(bit_fields) + 7) // 8, "bit map")
    bits = int.from_bytes(bitmap, "little")
    if bits >> len(bit_fields):
        raise AssertionError("record block: bit map %s sets bits beyond its %d fields"
                             % (bitmap.hex(), len(bit_fields)))
    fields = {}
    for name, kind in schema["fields"]:
        if kind == "bit":
            fields[name] = bits >> bit_fields.index(name) & 1
        else:
            fields[name] = reader.value(kind, "field %s (%s)" % (name, kind))
    return {"schema": schema_id, "name": schema["name"], "fields": fields}


def _utc(seconds):
    return time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(seconds))


def decode_packet(raw, earliest=None, latest=None):
    """The header, public block and record of one report packet, as a dict:
    {"length", "version", "type", "blocks", "crc", "public": {...}, "record": {"schema",
    "name", "fields"}} ("record" only when the packet has one).

    The packet's time must fall between earliest and latest (seconds since 1970 UTC, by
    default the last ten minutes), give or take CLOCK_SLACK. Raises AssertionError naming the
    first fault: a length, version, type, block count or CRC that does not match, a block that
    ends early or leaves bytes over, a value out of its range."""
    raw = bytes(raw)
    if latest is None:
        latest = time.time()
    if earliest is None:
        earliest = latest - DEFAULT_WINDOW
    if len(raw) < HEADER_SIZE:
        raise AssertionError("packet of %d bytes is shorter than its %d-byte header"
                             % (len(raw), HEADER_SIZE))
    length, version, kind, blocks = struct.unpack_from("<HBBH", raw)
    crc = struct.unpack_from(">I", raw, 6)[0]
    if length != len(raw) % 65536:
        raise AssertionError("header: length field %d (bytes %s), the packet has %d bytes"
                             % (length, raw[:2].hex(), len(raw)))
    if version != FORMAT_VERSION:
        raise AssertionError("header: version byte %d, expected %d" % (version, FORMAT_VERSION))
    if kind != INSTALLER_TYPE:
        raise AssertionError("header: type byte 0x%02X, expected 0x%02X" % (kind, INSTALLER_TYPE))
    actual_crc = zlib.crc32(raw[HEADER_SIZE:])
    if crc != actual_crc:
        raise AssertionError("header: CRC field %s, the blocks' CRC-32 is %08x"
                             % (raw[6:10].hex(), actual_crc))
    if blocks not in (1, 2):
        raise AssertionError("header: %d blocks, expected 1 or 2" % blocks)
    packet = {"length": length, "version": version, "type": kind, "blocks": blocks, "crc": crc}
    # Blocks carry no length: the public block's values say where it ends, and the record
    # takes the rest.
    reader = _Reader(raw[HEADER_SIZE:], "public block")
    packet["public"] = _public_block(reader, earliest, latest)
    rest = raw[HEADER_SIZE + reader.at:]
    if blocks == 2:
        reader = _Reader(rest, "record block")
        packet["record"] = _record_block(reader)
        rest = rest[reader.at:]
    if rest:
        raise AssertionError("%d bytes after the last of %d blocks: %s"
                             % (len(rest), blocks, rest.hex()))
    return packet
