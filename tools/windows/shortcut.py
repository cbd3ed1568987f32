#!/usr/bin/env python3
"""Prints the target and the working folder of a Windows shortcut (.lnk),
separated by a tab, as its LinkInfo and StringData hold them."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR = 1, 2, 4, 8, 16
IS_UNICODE = 0x80


def main():
    data = open(sys.argv[1], "rb").read()
    flags = struct.unpack_from("<I", data, 20)[0]
    pos = 76
    if flags & HAS_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    target = ""
    if flags & HAS_LINK_INFO:
        size, header, info_flags, _, base = struct.unpack_from("<IIIII", data, pos)
        if info_flags & 1:
            if header >= 0x24:
                at = pos + struct.unpack_from("<I", data, pos + 28)[0]
                end = at
                while data[end:end + 2] != b"\0\0":
                    end += 2
                target = data[at:end].decode("utf-16-le")
            else:
                end = data.index(b"\0", pos + base)
                target = data[pos + base:end].decode("mbcs" if sys.platform == "win32" else "latin-1")
        pos += size
    strings = {}
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if flags & flag:
            count = struct.unpack_from("<H", data, pos)[0]
            width = 2 if flags & IS_UNICODE else 1
            raw = data[pos + 2:pos + 2 + count * width]
            strings[flag] = raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
            pos += 2 + count * width
    print(f"{target}\t{strings.get(HAS_WORKING_DIR, '')}")


if __name__ == "__main__":
    main()
