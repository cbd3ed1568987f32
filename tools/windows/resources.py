#!/usr/bin/env python3
"""Checks the resources built into a Windows executable, read from its PE
resource directory:

    resources.py EXE VERSION [--manifest | --installer]

The version resource must be there and say VERSION (four numbers) in its fixed
part and VERSION without its fourth number in FileVersion and ProductVersion;
with --manifest (a program) or --installer, the application manifest
(RT_MANIFEST, id 1) must be there, run the program as the user who starts it
and name Windows 10 and 11 alone as the supported systems; a program's must
leave the code page to the system, an installer's declare it DPI-aware. Prints
what it found; exits 1 naming each fault."""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_VERSION, RT_MANIFEST = 16, 24
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a Windows executable (no MZ header)")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        sections, _, _, _, optional_size, _ = struct.unpack_from("<HIIIHH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            virtual_size, address, raw_size, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((address, max(virtual_size, raw_size), raw))

    def offset(self, rva):
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def resources(self):
        """{(type, name): data} for every resource of the first language."""
        found = {}
        if not self.resource_rva:
            return found
        base = self.offset(self.resource_rva)

        def entries(directory):
            named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield (None if key & 0x80000000 else key), target

        for kind, types in entries(0):
            for name, names in entries(types & 0x7FFFFFFF):
                for _, language in entries(names & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + language)
                    at = self.offset(rva)
                    found.setdefault((kind, name), self.data[at:at + size])
        return found


def version_block(data, at=0):
    """(key, value bytes, children, length) of the VS_VERSIONINFO block at `at`."""
    length, value_length, text = struct.unpack_from("<HHH", data, at)
    end = at + 6
    while data[end:end + 2] != b"\0\0":
        end += 2
    key = data[at + 6:end].decode("utf-16-le")
    value_at = (end + 2 + 3) & ~3
    size = value_length * 2 if text else value_length
    value = data[value_at:value_at + size]
    children = []
    child = (value_at + size + 3) & ~3
    while child < at + length:
        block = version_block(data, child)
        children.append(block)
        child = (child + block[3] + 3) & ~3
    return key, value, children, length


def version_strings(block, strings):
    key, value, children, _ = block
    if not children and value:
        strings[key] = value.decode("utf-16-le").rstrip("\0")
    for child in children:
        version_strings(child, strings)
    return strings


def check_version(data, expected, faults):
    key, fixed, _, _ = block = version_block(data)
    if key != "VS_VERSION_INFO" or struct.unpack_from("<I", fixed)[0] != 0xFEEF04BD:
        faults.append("the version resource is malformed")
        return
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", fixed, 8)
    for what, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
        numbers = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
        print(f"  {what} version {numbers}")
        if numbers != expected:
            faults.append(f"the {what} version is {numbers}, not {expected}")
    strings = version_strings(block, {})
    short = expected.rsplit(".", 1)[0]
    for name in ("FileVersion", "ProductVersion"):
        print(f"  {name} \"{strings.get(name)}\"")
        if strings.get(name) != short:
            faults.append(f"{name} is \"{strings.get(name)}\", not \"{short}\"")


def check_manifest(data, faults, installer):
    try:
        root = ElementTree.fromstring(data)
    except ElementTree.ParseError as error:
        faults.append(f"the manifest is not well-formed XML: {error}")
        return
    level = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    systems = [e.get("Id") for e in root.iter() if e.tag.endswith("}supportedOS")]
    dpi_aware = [(e.text or "").strip() for e in root.iter() if e.tag.endswith("}dpiAware")]
    print(f"  manifest: execution level {level}, supported systems {systems}, DPI-aware {dpi_aware}")
    if level != ["asInvoker"]:
        faults.append(f"the manifest's execution level is {level}, not asInvoker")
    if systems != [WINDOWS_10]:
        faults.append("the manifest's supported systems are not Windows 10 and 11 alone")
    if installer and not any(value.lower().startswith("true") for value in dpi_aware):
        faults.append("the installer's manifest does not declare it DPI-aware")
    if not installer and any(e.tag.endswith("}activeCodePage") for e in root.iter()):
        faults.append("the manifest sets activeCodePage; the data file needs the system's")


def main():
    arguments = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(arguments) != 2:
        sys.exit(__doc__)
    path, expected = arguments
    faults = []
    print(path)
    try:
        found = Image(open(path, "rb").read()).resources()
    except (OSError, ValueError, struct.error) as error:
        sys.exit(f"{path}: {error}")
    versions = [data for (kind, _), data in found.items() if kind == RT_VERSION]
    if versions:
        check_version(versions[0], expected, faults)
    else:
        faults.append("no version resource")
    if "--manifest" in sys.argv or "--installer" in sys.argv:
        if (RT_MANIFEST, 1) in found:
            check_manifest(found[(RT_MANIFEST, 1)], faults, "--installer" in sys.argv)
        else:
            faults.append("no application manifest (RT_MANIFEST, id 1)")
    for fault in faults:
        print(f"{path}: {fault}", file=sys.stderr)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
