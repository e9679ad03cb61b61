#!/usr/bin/env python3
"""Checks a built vexlan.exe as a user would receive it.

    check_exe.py --arch amd64|x86 --version 1.02 --manifest app/vexlan.manifest
                 --icon BUILD/app/vexlan.ico [--carries ID=FILE]... [--lacks ID]... EXE
    check_exe.py --arch amd64|x86 --kind dll|helper FILE


- `file` calls it a GUI executable of that architecture (PE32+ x86-64, or
  PE32 Intel 80386), and its own headers agree;
- its headers declare Windows 7 (subsystem and OS version 6.1), the version
  the frame metrics and the loader's refusal of older systems follow from;
- its manifest resource is the project's manifest with that architecture
  filled in, and names it in its assembly identity;
- its version resource says the version, in numbers and in text;
- its first icon group holds exactly the images of the generated icon;
- `objdump -p` finds it importing Windows system DLLs only (none of the
  compiler's runtime DLLs, which users do not have);
- it carries each FILE given with --carries as its data resource ID, byte for
  byte, and no data resource ID given with --lacks.

The message log's hook DLL and its helper (--kind dll, --kind helper) are
checked for their format, declared Windows version and imports only.

Prints what it found; any failure is listed and the exit code is 1.
"""

import argparse
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

RT_ICON, RT_RCDATA, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 10, 14, 16, 24
ARCHES = {
    # manifest name: (what `file` says, COFF machine, optional-header magic)
    "amd64": ("PE32+ executable (GUI) x86-64", 0x8664, 0x20B),
    "x86": ("PE32 executable (GUI) Intel 80386", 0x14C, 0x10B),
}
# What `file` says of a DLL instead; a DLL's subsystem is of no account.
DLL_KINDS = {"amd64": "PE32+ executable (DLL)", "x86": "PE32 executable (DLL)"}
WINDOWS_7 = (6, 1)
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll", "advapi32.dll",
    "shell32.dll", "shcore.dll", "ole32.dll", "oleaut32.dll", "comdlg32.dll", "uxtheme.dll",
    "dwmapi.dll", "version.dll", "imm32.dll", "shlwapi.dll", "ntdll.dll", "ucrtbase.dll",
}
ASM = "{urn:schemas-microsoft-com:asm.v1}"


class PeImage:
    """The headers and resources of a PE file."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        # The same place in PE32 and PE32+ headers.
        self.os_version = struct.unpack_from("<HH", data, optional + 40)
        self.subsystem_version = struct.unpack_from("<HH", data, optional + 48)
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            virtual_size, rva, raw_size, raw_at = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw_at))
        self.resources = {}
        if self.resource_rva:
            self._walk(0, ())

    def offset(self, rva):
        for start, size, raw_at in self.sections:
            if start <= rva < start + size:
                return raw_at + rva - start
        raise ValueError(f"RVA {rva:#x} is in no section")

    def _walk(self, directory, path):
        base = self.offset(self.resource_rva)
        named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            key = f"name@{name & 0x7FFFFFFF:#x}" if name & 0x80000000 else name
            if target & 0x80000000:
                self._walk(target & 0x7FFFFFFF, path + (key,))
            else:
                rva, size = struct.unpack_from("<II", self.data, base + target)
                at = self.offset(rva)
                # Keyed by type and name; the language level is not kept.
                self.resources[path[:2]] = self.data[at:at + size]

    def of_type(self, kind):
        """Resources of one type by name, in Windows' order: named ones first, then by number."""
        found = {name: data for (k, name), data in self.resources.items() if k == kind}
        return dict(sorted(found.items(), key=lambda item: (isinstance(item[0], int), item[0])))


def version_block(data, at=0):
    """One node of a VS_VERSIONINFO tree: (key, value bytes, children)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end_key = data.index(b"\0\0", at + 6)
    while (end_key - at - 6) % 2:
        end_key = data.index(b"\0\0", end_key + 1)
    key = data[at + 6:end_key].decode("utf-16-le")
    value_at = (end_key + 2 + 3) & ~3
    value_size = value_length * 2 if kind == 1 else value_length
    value = data[value_at:value_at + value_size]
    children, child = [], (value_at + value_size + 3) & ~3
    while child < at + length:
        node = version_block(data, child)
        children.append(node)
        child = (child + struct.unpack_from("<H", data, child)[0] + 3) & ~3
    return key, value, children


def version_strings(data):
    _, _, children = version_block(data)
    found = {}
    for key, _, tables in children:
        if key == "StringFileInfo":
            for _, _, strings in tables:
                for name, value, _ in strings:
                    found[name] = value.decode("utf-16-le").rstrip("\0")
    return found


def ico_images(data):
    reserved, kind, count = struct.unpack_from("<HHH", data)
    if (reserved, kind) != (0, 1):
        raise ValueError("not an icon file")
    images = []
    for i in range(count):
        size, at = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        images.append(data[at:at + size])
    return images


def check_image(exe, arch, kind, faults, found):
    """The format, declared version and imports every file shares; the image."""
    described, machine, magic = ARCHES[arch]
    if kind == "dll":
        described = DLL_KINDS[arch]
    said = subprocess.run(["file", "-b", exe], capture_output=True, text=True, check=True).stdout.strip()
    if not said.startswith(described):
        faults.append(f"file says {said!r}, not {described!r}")
    with open(exe, "rb") as f:
        pe = PeImage(f.read())
    if (pe.machine, pe.magic) != (machine, magic) or (kind != "dll" and pe.subsystem != 2):
        faults.append(f"headers: machine {pe.machine:#x}, magic {pe.magic:#x}, subsystem {pe.subsystem}")
    found.append(described)
    if (pe.subsystem_version, pe.os_version) != (WINDOWS_7, WINDOWS_7):
        faults.append(f"declares subsystem {pe.subsystem_version}, OS {pe.os_version}, not {WINDOWS_7}")
    else:
        found.append("for Windows %d.%d and later" % WINDOWS_7)
    dump = subprocess.run(["objdump", "-p", exe], capture_output=True, text=True, check=True).stdout
    dlls = re.findall(r"DLL Name: (\S+)", dump)
    foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
    if not dlls or foreign:
        faults.append(f"imports {foreign or 'nothing'}: not Windows system DLLs")
    else:
        found.append("imports " + " ".join(sorted(dlls, key=str.lower)))
    return pe


def check(exe, arch, version, manifest_template, icon_file, carries=(), lacks=()):
    faults, found = [], []
    pe = check_image(exe, arch, "program", faults, found)

    manifests = pe.of_type(RT_MANIFEST)
    with open(manifest_template, encoding="utf-8") as f:
        expected = f.read().replace("@VEXLAN_MANIFEST_ARCH@", arch)
    embedded = manifests.get(1, b"").decode("utf-8", "replace")
    if embedded != expected:
        faults.append(f"manifest 1 is not {manifest_template} for {arch} (manifests: {sorted(manifests)})")
    else:
        identity = ET.fromstring(embedded.encode()).find(ASM + "assemblyIdentity")
        if identity is None or identity.get("processorArchitecture") != arch:
            faults.append("the manifest's assembly identity does not name " + arch)
        else:
            found.append(f"manifest {arch}")

    versions = pe.of_type(RT_VERSION)
    if 1 not in versions:
        faults.append("no version resource")
    else:
        fixed = versions[1].find(struct.pack("<I", 0xFEEF04BD))
        numbers = ()
        if fixed >= 0:
            high, low = struct.unpack_from("<II", versions[1], fixed + 8)
            numbers = (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)
        # Version 1.02 is file version 1.0.2.0: a digit of the minor number each.
        major, minor = version.split(".")
        wanted = tuple([int(major)] + [int(d) for d in minor] + [0, 0, 0])[:4]
        strings = version_strings(versions[1])
        if numbers != wanted:
            faults.append(f"version numbers {numbers}, not {wanted}")
        elif strings.get("FileVersion") != version or strings.get("ProductVersion") != version:
            faults.append(f"version strings {strings}")
        else:
            found.append(f"version {version}")

    groups = pe.of_type(RT_GROUP_ICON)
    with open(icon_file, "rb") as f:
        wanted_images = ico_images(f.read())
    if not groups:
        faults.append("no icon")
    else:
        group = next(iter(groups.values()))
        count = struct.unpack_from("<H", group, 4)[0]
        icons = pe.of_type(RT_ICON)
        ids = [struct.unpack_from("<H", group, 6 + 14 * i + 12)[0] for i in range(count)]
        if [icons.get(i) for i in ids] != wanted_images:
            faults.append(f"the icon group's {count} images are not those of {icon_file}")
        else:
            found.append(f"icon of {count} sizes")

    data = pe.of_type(RT_RCDATA)
    for number, path in carries:
        with open(path, "rb") as f:
            if data.get(number) != f.read():
                faults.append(f"data resource {number} is not {path}")
            else:
                found.append(f"carries {path.rsplit('/', 1)[-1]}")
    for number in lacks:
        if number in data:
            faults.append(f"carries a data resource {number}")
    return faults, found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--arch", choices=sorted(ARCHES), required=True)
    parser.add_argument("--kind", choices=["program", "dll", "helper"], default="program")
    parser.add_argument("--version")
    parser.add_argument("--manifest")
    parser.add_argument("--icon")
    parser.add_argument("--carries", action="append", default=[], metavar="ID=FILE")
    parser.add_argument("--lacks", action="append", default=[], type=int, metavar="ID")
    parser.add_argument("exe")
    args = parser.parse_args()
    if args.kind == "program":
        if not (args.version and args.manifest and args.icon):
            parser.error("a program is checked with --version, --manifest and --icon")
        carries = [(int(item.split("=", 1)[0]), item.split("=", 1)[1]) for item in args.carries]
        faults, found = check(args.exe, args.arch, args.version, args.manifest, args.icon, carries, args.lacks)
    else:
        faults, found = [], []
        check_image(args.exe, args.arch, args.kind, faults, found)
    for fault in faults:
        print(f"check_exe: {args.exe}: {fault}", file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"{args.exe}: " + "; ".join(found))


if __name__ == "__main__":
    main()
