#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into the folders beside this script: small
archives of several layouts and tags, configuration documents and codec inputs."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CONFIG = os.path.join(HERE, "..", "..", "resources", "archive", "config.xml")


def write(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as f:
        f.write(data)


def delta(data, width, encode=True):
    out = bytearray(data)
    units = len(data) // width
    mask = (1 << (8 * width)) - 1
    for i in range(units - 1, 0, -1):
        cur = int.from_bytes(data[i * width:(i + 1) * width], "little")
        prev = int.from_bytes(data[(i - 1) * width:i * width], "little")
        out[i * width:(i + 1) * width] = ((cur - prev) & mask).to_bytes(width, "little")
    return bytes(out)


def store(data, tag):
    filt = (tag >> 16) & 0xFF
    if filt:
        data = delta(data, {1: 1, 2: 2, 3: 4}[filt])
    if tag & 0xFF == 1:
        data = struct.pack("<I", len(data)) + zlib.compress(data)
    return data


def archive(members, dir_tag=1, directory_first=False):
    """members: (name, data, tag). Returns the archive bytes."""
    blocks, entries = b"", []
    for name, data, tag in members:
        stored = store(data, tag)
        entries.append((name, len(data), len(blocks), tag))
        blocks += struct.pack("<I", len(stored)) + stored

    def directory(base):
        return b"".join(struct.pack("<IIIH", size, base + off, tag, len(name)) + name
                        for name, size, off, tag in entries)

    plain_length = len(directory(0))
    if directory_first:
        record_length = 8 + len(store(directory(0), dir_tag))
        plain = directory(12 + record_length)
        stored = store(plain, dir_tag)
        return (b"CFL3" + struct.pack("<Ii", 12, plain_length) +
                struct.pack("<II", dir_tag, len(stored)) + stored + blocks)
    plain = directory(12)
    stored = store(plain, dir_tag)
    return (b"CFL3" + struct.pack("<Ii", 12 + len(blocks), plain_length) + blocks +
            struct.pack("<II", dir_tag, len(stored)) + stored)


def main():
    with open(CONFIG, "rb") as f:
        config = f.read()
    text = b"12:00:01 started\n12:00:02 ok\n12:00:03 ok\n" * 3
    members = [(b"config.xml", config[:300], 1), (b"images\\splash.bmp", b"BM" + bytes(range(40)), 0x10001),
               (b"d16", text, 0x20001), (b"d32", text, 0x30000), (b"raw", b"plain", 0)]
    write("fuzz_archive", "tags.omf", archive(members))
    write("fuzz_archive", "directory-first.omf", archive(members[:3], dir_tag=0, directory_first=True))
    small = archive([(b"a", b"x", 0), (b"a", b"yy", 0x101)], dir_tag=0)
    write("fuzz_archive", "trailer.bin", b"host program" + small + struct.pack("<I", len(small) + 8) + b"3CFL")
    write("fuzz_archive", "empty.omf", archive([]))

    write("fuzz_config", "config.xml", config)
    write("fuzz_config", "nested.xml", b"<a><b><Time>1</Time></b><Credits>x<i>y</i></Credits><Time>2</Time></a>")
    write("fuzz_config", "cdata.xml", b"<?xml version='1.0' encoding='ISO-8859-1'?>\n"
                                      b"<!DOCTYPE a [<!ENTITY e 'v'>]><a><Credits><![CDATA[\xe9]]>&amp;&#65;</Credits></a>")

    stamp = struct.pack("<QQ", 0x1f, 1700000000123456)
    write("fuzz_journal_entry", "error.bin", stamp + b"\x1e".join([
        b"PRIORITY=3", b"_PID=42", b"SYSLOG_IDENTIFIER=sshd", b"_COMM=sshd", b"_SYSTEMD_UNIT=ssh.service",
        b"MESSAGE=first line\nsecond \xff line\n"]))
    write("fuzz_journal_entry", "audit.bin", stamp + b"\x1e".join([
        b"_TRANSPORT=audit", b"MESSAGE=op=login res=failed\x00tail", b"_COMM=", b"_COMM=login"]))
    write("fuzz_journal_entry", "forged-line.bin", stamp + b"\x1e".join([
        b"SYSLOG_IDENTIFIER=evil\rEventType: Information\xe2\x80\xa8x\xef\xb7\x90", b"MESSAGE=m"]))
    write("fuzz_journal_entry", "no-message.bin", stamp + b"PRIORITY=x\x1e=odd\x1es=1;i=ff;b=2")
    write("fuzz_journal_entry", "computer.bin", stamp + b"\x1e".join([
        b"_HOSTNAME=web\r\nEventType: Error\xe2\x80\xa9" + b"h" * 1000,
        b"_MACHINE_ID=0123456789abcdef0123456789abcdef", b"MESSAGE=m"]))
    write("fuzz_journal_entry", "machine-id.bin", stamp + b"\x1e".join([
        b"_HOSTNAME=", b"_MACHINE_ID=\x00id\x85", b"_HOSTNAME=late"]))

    write("fuzz_codec_zlib", "text", store(text, 1))
    write("fuzz_codec_zlib", "no-check-value", store(text, 1)[:-4])
    write("fuzz_codec_zlib", "empty", store(b"", 1))
    for target in ("fuzz_codec_none", "fuzz_codec_delta8", "fuzz_codec_delta16", "fuzz_codec_delta32"):
        write(target, "text", text)
        write(target, "odd", bytes([1, 0, 3, 0, 7]))

    # Display pass: flags, keyword count, keywords (length byte, bytes), then the file.
    keywords = bytes([2]) + b"rr" + bytes([5]) + b"error"
    write("fuzz_display_pass", "marks", bytes([1, 2]) + keywords + b"ok\r\nan error\rterror\n\xc3\x84rger")
    write("fuzz_display_pass", "filter", bytes([3, 2]) + keywords + b"x\r\r\ny error\n\n\r")
    write("fuzz_display_pass", "utf16", bytes([13, 1]) + bytes([2]) + b"e\x00" + b"\xff\xfee\x00\n\x00")
    # Kept lone CRs around removed lines must not pair with a later LF.
    write("fuzz_display_pass", "kept-lone-cr-joins-lines", bytes([5, 1]) + bytes([1]) + b"x" + b"a\r\rx\n\n\rao\r\n")
    # Mostly ASCII with a few characters above U+00FF, pairs and invalid bytes among them.
    wide = bytes([3]) + "€ é".encode() + bytes([4]) + "\U00010428".encode()
    write("fuzz_display_pass", "wide-units", bytes([11, 2]) + wide +
          "\ufeffa 20 € é line\r\nan \U00010400 and \U00010428\n".encode() * 3 +
          b"bad \xe2\x82 \xc0\xaf \x80\x80 ok\r\r\n\x00 end \xf0\x90")

if __name__ == "__main__":
    main()
