#!/usr/bin/env python3
"""Checks a built Delvorin2.ocx without running it: the checks that still guard a server whose
architecture this machine cannot run under Wine (and that run for both architectures).

usage: check_server.py SERVER.ocx win32|win64 EXPORTS.def TYPELIB.tlb

- a DLL for the architecture, relocatable (its base relocations are there);
- exactly the exports the module definition names, undecorated, each in code;
- imports only from Windows' own DLLs (statically linked: no libstdc++, libgcc or pthread DLL);
- the type library embedded as resource TYPELIB 1, byte for byte the one widl wrote for this
  architecture, of that architecture's kind; the version resource and the toolbox bitmap.
Prints each failure, then "server_static: N passed, M failed"; exits 1 on any failure.
"""
import struct
import sys

MACHINES = {"win32": (0x14C, 0x10B, 1), "win64": (0x8664, 0x20B, 3)}  # machine, optional magic, SYSKIND
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll",
               "shell32.dll", "comctl32.dll", "msvcrt.dll", "oleacc.dll"}
RT_BITMAP, RT_VERSION = 2, 16


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections, _, _, _, optsize, self.characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        count = struct.unpack_from("<I", data, dirs - 4)[0]
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(min(count, 16))]
        self.sections = []
        for i in range(nsections):
            name, vsize, va, rawsize, raw, _, _, _, _, flags = struct.unpack_from("<8sIIIIIIHHI", data, opt + optsize + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), va, max(vsize, rawsize), raw, flags))

    def offset(self, rva):
        for _, va, size, raw, _ in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("RVA 0x%x is in no section" % rva)

    def in_code(self, rva):
        return any(va <= rva < va + size and flags & 0x20000000 for _, va, size, _, flags in self.sections)

    def cstring(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("latin-1")

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def exports(self):
        rva, size = self.directory(0)
        if not size:
            return {}
        o = self.offset(rva)
        base = struct.unpack_from("<I", self.data, o + 16)[0]
        nfunctions, nnames, functions, names, ordinals = struct.unpack_from("<IIIII", self.data, o + 20)
        result = {}
        for i in range(nnames):
            name = self.cstring(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0])
            ordinal = struct.unpack_from("<H", self.data, self.offset(ordinals) + 2 * i)[0]
            if ordinal >= nfunctions:
                raise ValueError("export %s has ordinal %d beyond the table" % (name, ordinal + base))
            result[name] = struct.unpack_from("<I", self.data, self.offset(functions) + 4 * ordinal)[0]
        return result

    def imported_dlls(self):
        rva, size = self.directory(1)
        dlls, o = [], self.offset(rva) if size else None
        while o is not None:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, o)
            if not (lookup or name or thunks):
                break
            dlls.append(self.cstring(name).lower())
            o += 20
        return dlls

    def resource(self, kind, ident):
        """The bytes of the first language of resource KIND/IDENT, or None; KIND is a number or
        a name ("TYPELIB"), IDENT a number."""
        rva, size = self.directory(2)
        if not size:
            return None
        root = self.offset(rva)

        def matches(key, wanted):
            if wanted is None:
                return True
            if isinstance(wanted, int):
                return not key & 0x80000000 and key == wanted
            if not key & 0x80000000:
                return False
            o = root + (key & 0x7FFFFFFF)
            length = struct.unpack_from("<H", self.data, o)[0]
            return self.data[o + 2:o + 2 + 2 * length].decode("utf-16-le") == wanted

        level = root
        for wanted in (kind, ident, None):
            named, numbered = struct.unpack_from("<HH", self.data, level + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, level + 16 + 8 * i)
                if matches(key, wanted):
                    break
            else:
                return None
            level = root + (target & 0x7FFFFFFF)
        data_rva, data_size = struct.unpack_from("<II", self.data, level)
        o = self.offset(data_rva)
        return self.data[o:o + data_size]


class Checks:
    """Counts the checks that pass and keeps the failures; report() prints them and the line
    "NAME: N passed, M failed" and gives the exit status."""

    def __init__(self):
        self.passed, self.failures = 0, []

    def __call__(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failures.append(what)

    def report(self, name):
        for failure in self.failures:
            print("%s: failed: %s" % (name, failure))
        print("%s: %d passed, %d failed" % (name, self.passed, len(self.failures)))
        return 1 if self.failures else 0


def def_exports(path):
    names, in_exports = [], False
    for line in open(path, encoding="utf-8"):
        words = line.split()
        if not words or words[0].startswith(";"):
            continue
        if words[0] in ("LIBRARY", "NAME"):
            continue
        if words[0] == "EXPORTS":
            in_exports = True
            continue
        if in_exports:
            names.append(words[0])
    return set(names)


def main(argv):
    if len(argv) != 5 or argv[2] not in MACHINES:
        print(__doc__.splitlines()[3], file=sys.stderr)
        return 2
    server, arch, definition, typelib = argv[1:]
    machine, magic, syskind = MACHINES[arch]
    check = Checks()

    try:
        pe = Pe(open(server, "rb").read())
    except (OSError, ValueError, struct.error) as e:
        print("FAIL: %s cannot be read as a PE file: %s" % (server, e))
        print("server_static: 0 passed, 1 failed")
        return 1

    check(pe.machine == machine, "machine 0x%x, expected 0x%x for %s" % (pe.machine, machine, arch))
    check(pe.magic == magic, "optional header magic 0x%x, expected 0x%x" % (pe.magic, magic))
    check(pe.characteristics & 0x2000, "not a DLL (characteristics 0x%x)" % pe.characteristics)
    check(not pe.characteristics & 0x0001 and pe.directory(5)[1] > 0, "no base relocations: it could not load at another address")

    try:
        exports = pe.exports()
        expected = def_exports(definition)
        check(set(exports) == expected, "exports %s, expected %s" % (sorted(exports), sorted(expected)))
        for name, rva in sorted(exports.items()):
            check(pe.in_code(rva), "export %s does not point into code" % name)
    except (ValueError, struct.error) as e:
        check(False, "the export table cannot be read: %s" % e)

    try:
        dlls = pe.imported_dlls()
        check(len(dlls) > 0, "no import table")
        for dll in dlls:
            check(dll in SYSTEM_DLLS, "imports %s, which is not one of Windows' own DLLs" % dll)
    except (ValueError, struct.error) as e:
        check(False, "the import table cannot be read: %s" % e)

    try:
        embedded = pe.resource("TYPELIB", 1)
        check(embedded is not None, "no TYPELIB 1 resource")
        if embedded is not None:
            built = open(typelib, "rb").read()
            check(embedded == built, "TYPELIB 1 differs from %s (%d bytes against %d)" % (typelib, len(embedded), len(built)))
            check(embedded[:4] == b"MSFT", "TYPELIB 1 is not an MSFT type library")
            kind = struct.unpack_from("<I", embedded, 20)[0] & 0xF if len(embedded) >= 24 else None
            check(kind == syskind, "TYPELIB 1 is for SYSKIND %s, expected %d" % (kind, syskind))
        check(pe.resource(RT_VERSION, 1) is not None, "no version resource")
        check(pe.resource(RT_BITMAP, 1) is not None, "no toolbox bitmap (BITMAP 1)")
    except (OSError, ValueError, struct.error) as e:
        check(False, "the resources cannot be read: %s" % e)

    return check.report("server_static")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
