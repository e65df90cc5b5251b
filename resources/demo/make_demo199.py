#!/usr/bin/env python3
"""Writes Demo199.dat: the memory of a 199-channel radio with the priority
channel and a dozen named channels programmed, the memory the simulated
199-channel radio starts with when scripts/run.sh starts it. Run from
anywhere: python3 resources/demo/make_demo199.py"""

from pathlib import Path

image = bytearray(b"\xff" * 8192)

# A new radio's settings: squelch 1, time-out timer 1, step 25k, display
# flags (channel display off, busy off, scan mode CO, LED auto), scan flags
# (encoder on, mode frequency), voice sensitivity off, call tone 1, battery
# saver 0.4, priority scan time 3 s.
for offset, value in [(0x1FC1, 1), (0x1FC3, 1), (0x1FE0, 4), (0x1FE1, 0xD4),
                      (0x1FE2, 0x21), (0x1FE4, 0), (0x1FE5, 1), (0x1FE6, 2),
                      (0x1FE7, 0)]:
    image[offset] = value

# Type "V199-U" (second in the INI), band "400 - 470MHz" (its first).
image[0x1FD6] = 1
image[0x1FD7] = 0


def bcd(mhz):
    """Eight packed-BCD digits of 10 Hz units, least significant pair first."""
    digits = "%08d" % round(mhz * 100000)
    return bytes(int(digits[i:i + 2], 16) for i in (6, 4, 2, 0))


def tone(text):
    """Two bytes, low first: CTCSS as four BCD digits of tenths of a hertz,
    DCS as 0x80 (normal) or 0xC0 (inverted) plus the first digit, then the
    last two digits in BCD; no tone 0xFFFF."""
    if text is None:
        return b"\xff\xff"
    if text.startswith("D"):
        digits = text[1:4]
        high = (0x80 if text.endswith("N") else 0xC0) + int(digits[0])
        return bytes([int(digits[1:], 16), high])
    tenths = "%04d" % round(float(text) * 10)
    return bytes([int(tenths[2:], 16), int(tenths[:2], 16)])


NAME_CODES = {**{str(d): d for d in range(10)},
              **{chr(ord("A") + i): 10 + i for i in range(26)}, "-": 36, "_": 38}


def name(text):
    codes = bytes(NAME_CODES[c] for c in text)
    return codes + b"\xff" * (8 - len(codes))


HIGH, MIDDLE, LOW = 2, 1, 0

# record (0 = priority), rx MHz, tx MHz, decode, encode, power, lock, name
channels = [
    (0, 446.00625, 446.00625, None, None, HIGH, True, "PRIO"),
    (1, 446.00625, 446.00625, "67.0", "67.0", HIGH, True, "PMR-1"),
    (2, 446.01875, 446.01875, "D023N", "D023N", MIDDLE, True, "PMR-2"),
    (3, 446.03125, 446.03125, None, None, LOW, False, "PMR-3"),
    (4, 440.00000, 445.00000, None, "88.5", HIGH, True, "RPT-A"),
    (5, 433.50000, 433.50000, "D754I", "D754I", LOW, False, "SIMPLX"),
    (6, 450.12500, 455.12500, "100.0", "100.0", HIGH, True, "SITE_1"),
    (7, 462.56250, 462.56250, "127.3", "127.3", MIDDLE, True, "YARD"),
    (8, 467.71250, 467.71250, None, None, HIGH, False, "GATE"),
    (10, 420.00000, 420.00000, "254.1", "254.1", MIDDLE, True, "SECURE"),
    (25, 410.50000, 410.50000, None, None, LOW, False, "DOCK-2"),
    (120, 455.00000, 460.00000, "D411N", "D411N", HIGH, True, "CREW"),
    (199, 469.98750, 469.98750, None, None, HIGH, True, "LAST"),
]
for record, rx, tx, dec, enc, power, lock, text in channels:
    at = 16 * record
    image[at:at + 12] = bcd(rx) + bcd(tx) + tone(dec) + tone(enc)
    image[at + 12] = (0xFF & ~0x38) | (power << 4) | (0x08 if lock else 0)
    image[0x0C90 + 8 * record:0x0C90 + 8 * record + 8] = name(text)

Path(__file__).with_name("Demo199.dat").write_bytes(bytes(image))
