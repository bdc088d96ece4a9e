#!/usr/bin/env python3
"""Checks what installs a built server without running it, so that the packages of an
architecture this machine cannot run under Wine are still checked (it runs for both).

usage: check_install.py win32|win64 SERVER.ocx ASSEMBLY.manifest MACHINE.msi USER.msi

- the assembly's version is the server's file version (its version resource), for the
  architecture; its classes' status words give the bits registration writes;
- each MSI's Registry table holds exactly the registration table's rows, below the root of its
  scope (HKLM per machine, HKMU per user, as msibuild set it), its component is 64-bit exactly
  for win64, its folder is the scope's, and it installs the server and the manifest.
Prints each failure, then "install_static: N passed, M failed"; exits 1 on any failure.
"""
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_server  # noqa: E402
import registration  # noqa: E402

NS = {"a": "urn:schemas-microsoft-com:asm.v1"}
ROOTS = {"machine": "2", "user": "-1"}  # msidbRegistryRootLocalMachine, HKMU
FOLDERS = {("win32", "machine"): "ProgramFilesFolder", ("win64", "machine"): "ProgramFiles64Folder",
           ("win32", "user"): "LocalAppDataFolder", ("win64", "user"): "LocalAppDataFolder"}
COMPONENT_64BIT = 256


def file_version(server):
    data = check_server.Pe(Path(server).read_bytes()).resource(check_server.RT_VERSION, 1)
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def table(msi, name):
    text = subprocess.run(["msiinfo", "export", msi, name], check=True, capture_output=True, text=True).stdout
    lines = text.replace("\r", "").split("\n")[3:]
    return [line.split("\t") for line in lines if line]


def main(argv):
    if len(argv) != 6 or argv[1] not in ("win32", "win64"):
        print(__doc__.splitlines()[3], file=sys.stderr)
        return 2
    arch, server, manifest, msi_machine, msi_user = argv[1:]
    t = registration.Table()
    check = check_server.Checks()

    version = file_version(server)
    assembly = ET.parse(manifest).getroot()
    identity = assembly.find("a:assemblyIdentity", NS)
    check(identity.get("version") == version, "manifest version %s, server %s" % (identity.get("version"), version))
    check(identity.get("processorArchitecture") == registration.processor(arch), "manifest architecture")
    for c, clsid in t.classes():
        element = assembly.find("a:file/a:comClass[@clsid='%s']" % clsid, NS)
        check(element is not None, "manifest: no class %s" % clsid)
        if element is None:
            continue
        words = [w for w in (element.get("miscStatusContent") or "").split(",") if w]
        bits = sum(1 << registration.MISC_WORDS.index(w) for w in words)
        check(bits == c.get("misc_status_content", 0), "manifest: %s status words give %d" % (c["coclass"], bits))
    stubs = {e.get("iid") for e in assembly.findall("a:comInterfaceExternalProxyStub", NS)}
    check(stubs == {iid for _, iid, _ in t.interfaces}, "manifest: proxy entries %s" % sorted(stubs))

    for scope, msi in (("machine", msi_machine), ("user", msi_user)):
        values = {"<module>": "[#ServerFile]", "<folder>": "[INSTALLDIR]"}
        expected = set()
        for key, name, data in t.class_rows() + t.typelib_rows(arch):
            if data is None:
                name, data = "*", ""
            for k, v in values.items():
                data = data.replace(k, v)
            expected.add((ROOTS[scope], "Software\\Classes\\" + key, name or "", data))
        rows = {(r[1], r[2], r[3], r[4]) for r in table(msi, "Registry")}
        check(rows == expected, "%s: Registry rows differ: %s" % (scope, sorted(rows ^ expected)[:6]))
        properties = dict((r[0], r[1]) for r in table(msi, "Property"))
        check(properties.get("ProductVersion") == version, "%s: ProductVersion %s" % (scope, properties.get("ProductVersion")))
        check((properties.get("ALLUSERS") == "1") == (scope == "machine"), "%s: ALLUSERS" % scope)
        components = table(msi, "Component")
        check(all((int(c[3]) & COMPONENT_64BIT != 0) == (arch == "win64") for c in components), "%s: 64-bit component" % scope)
        directories = {r[0]: r[1] for r in table(msi, "Directory")}
        check(directories.get("INSTALLDIR") == FOLDERS[arch, scope], "%s: folder %s" % (scope, directories.get("INSTALLDIR")))
        files = {r[2].split("|")[-1] for r in table(msi, "File")}
        check(files == {t.data["file"], t.data["assembly"] + ".manifest"}, "%s: files %s" % (scope, sorted(files)))

    return check.report("install_static")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
