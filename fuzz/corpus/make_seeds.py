#!/usr/bin/env python3
"""Writes the small seed files of the preset-file fuzz targets: a valid file
of each container, and truncated, over-long and mistagged variants."""
import os
import struct

IMAGE = 2184
SCENES = 20
HERE = os.path.dirname(os.path.abspath(__file__))


def tagged(tag, payload=b""):
    return bytes([len(tag)]) + tag.encode() + payload


def image(name):
    """A scene image with a name and flat bands (1000 Hz, 0 dB) in every block."""
    data = bytearray(IMAGE)
    data[0:len(name)] = name.encode()
    for offset, bands in ((32, 8), (184, 9), (296, 9)) + tuple((408 + 296 * k, 9) for k in range(6)):
        for g in range(bands):
            data[offset + 8 * g:offset + 8 * g + 4] = struct.pack("<HH", 1000, 600)
    return bytes(data)


def delay_table(position):
    delays = b"".join(struct.pack("<H", 40 * i) for i in range(24))
    return delays + bytes([position, 0])


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


scene = tagged("ZR470_File", image("studio"))
write("fuzz_scene_file", "valid", scene)
write("fuzz_scene_file", "truncated", scene[:200])
write("fuzz_scene_file", "wrong_tag", tagged("ZR471_File", image("studio")))

store = b"".join(image("scene %d" % n) for n in range(1, SCENES + 1))
current = tagged("ZR471_ALLFile", store + image("live") + delay_table(1))
write("fuzz_all_scenes_file", "valid_current", current)
write("fuzz_all_scenes_file", "valid_older", tagged("ZR470_ALLFile", store))
write("fuzz_all_scenes_file", "truncated", current[:300])
# The target also shapes short inputs into a whole container: byte 0 even
# for the current container, then its live image and delay table.
write("fuzz_all_scenes_file", "shaped_current", b"\x00" + image("live") + delay_table(5))

position = tagged("Mode_File", bytes([2]) + delay_table(2)[24:36])
write("fuzz_position_file", "valid", position)
write("fuzz_position_file", "position_7", position[:10] + b"\x07" + position[11:])
write("fuzz_position_file", "truncated", position[:-1])
write("fuzz_position_file", "trailing", position + b"\x00")
