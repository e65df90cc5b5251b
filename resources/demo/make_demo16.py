#!/usr/bin/env python3
"""Writes Demo16.dat: the memory of a 16-channel radio with eight channels
programmed, the memory the simulated radio starts with when scripts/run.sh
starts it. Run from anywhere: python3 resources/demo/make_demo16.py"""

from pathlib import Path

image = bytearray(b"\xff" * 1024)

# A new radio's defaults: header, options, scan settings, model identifier.
for offset, data in [
    (0x000, b"\x00\x00\x00"),
    (0x008, b"\x00\x03\x01\x00\x02\x00\x24\x11"),
    (0x12F, b"\x01\x04\x09"),  # voice annunciation, time-out timer, pre-alert
    (0x134, b"\x04\x01\x01"),  # squelch level, battery saver, beep
    (0x13A, b"\x05\x02"),  # vox gain and delay
    (0x160, b"\x00\x11\x09\x15"),  # priority, priority channel, look back A/B
    (0x165, b"\x30\x00\x30\x00"),  # dropout delay, tx dwell
    (0x17E, b"\x00\x00"),  # scan lists
    (0x1B8, b"K71605\xf0\x01"),  # model identifier
    (0x3F0, b"\x00"),  # call tone
]:
    image[offset:offset + len(data)] = data

# Type "V16-U" (second in the INI), band "400 - 470MHz" (its first).
image[0x3D2] = 1
image[0x3D3] = 0


def bcd(mhz):
    """Eight packed-BCD digits of 10 Hz units, least significant pair first."""
    digits = "%08d" % round(mhz * 100000)
    return bytes(int(digits[i:i + 2], 16) for i in (6, 4, 2, 0))


def tone(text):
    """Two bytes, low first: QT in tenths of a hertz, DQT 0x28 (normal) or
    0xA8 (inverted) plus bit 8 of the octal code, no tone 0xFFFF."""
    if text is None:
        return b"\xff\xff"
    if text.startswith("D"):
        code = int(text[1:4], 8)
        high = (0x28 if text.endswith("N") else 0xA8) | (code >> 8)
        return bytes([code & 0xFF, high])
    tenths = round(float(text) * 10)
    return bytes([tenths & 0xFF, tenths >> 8])


CARRIER, QT_DQT, WIDE, HIGH = 0x08, 0x10, 0x10, 0x20

# rx MHz, tx MHz, decode, encode, high power, in scan list, busy lock, wide
channels = [
    (446.00625, 446.00625, "67.0", "67.0", True, True, None, False),
    (446.01875, 446.01875, "D023N", "D023N", True, True, QT_DQT, False),
    (446.03125, 446.03125, None, None, False, True, None, False),
    (440.00000, 445.00000, None, "88.5", True, False, CARRIER, True),
    (433.50000, 433.50000, "D754I", "D754I", False, False, None, False),
    (450.12500, 455.12500, "100.0", "100.0", True, True, QT_DQT, True),
    (462.56250, 462.56250, "127.3", "127.3", False, True, None, False),
    (467.71250, 467.71250, None, None, True, False, None, False),
]
for n, (rx, tx, dec, enc, high, scan, busy, wide) in enumerate(channels, 1):
    record = 0x010 + 16 * (n - 1)
    image[record:record + 12] = bcd(rx) + bcd(tx) + tone(dec) + tone(enc)
    image[record + 12] = (0xFF & ~(CARRIER | QT_DQT)) | (busy or 0)
    image[record + 13] = (0xFF & ~(WIDE | HIGH)) | (WIDE if wide else 0) | (HIGH if high else 0)
    if scan:
        image[0x17E + (n - 1) // 8] |= 1 << ((n - 1) % 8)

Path(__file__).with_name("Demo16.dat").write_bytes(bytes(image))
