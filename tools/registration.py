#!/usr/bin/env python3
"""Writes what installs the server, from one table: ocx/Registration.toml (the classes and
their keys) and Palvor.idl (the classes' GUIDs, the type library and its interfaces).

  registration.py header   ARCH OUT            the rows the server registers (C++ header)
  registration.py manifest ARCH OUT            the side-by-side assembly manifest
  registration.py wxs      ARCH SCOPE DIR OUT  the MSI's WiX source (SCOPE machine or user;
                                               DIR holds the server and its manifest)
  registration.py msi      ARCH SCOPE DIR OUT  the MSI itself, built by wixl from that source
  registration.py application ARCH NAME OUT    an application manifest that depends on the
                                               assembly (for the program NAME)
  registration.py version                      the server's file version

ARCH is win32 or win64. Every output names the same keys with the same values: in the rows,
"<module>" stands for the server's path and "<folder>" for its folder.
"""
import os
import re
import subprocess
import sys
import tomllib
import uuid
from pathlib import Path
from xml.sax.saxutils import quoteattr

ROOT = Path(__file__).resolve().parent.parent
PS_DISPATCH = "{00020420-0000-0000-C000-000000000046}"  # the proxy of dispatch interfaces
PS_OAINTERFACE = "{00020424-0000-0000-C000-000000000046}"  # the type library's proxy of duals
IID_IDISPATCH = "{00020400-0000-0000-C000-000000000046}"
# OLEMISC_* bits in the words an assembly manifest gives them.
MISC_WORDS = ["recomposeonresize", "onlyiconic", "insertnotreplace", "static", "cantlinkinside", "canlinkbyole1",
              "islinkobject", "insideout", "activatewhenvisible", "renderingisdeviceindependent",
              "invisibleatruntime", "alwaysrun", "actslikebutton", "actslikelabel", "nouiactivate", "alignable",
              "simpleframe", "setclientsitefirst", "imemode", "ignoreactivatewhenvisible", "wantstomenumerge",
              "supportsmultilevelundo"]
# Type library flags (LIBFLAG_*) by their IDL attribute; a registered library has a disk image.
LIB_FLAGS = {"restricted": 1, "control": 2, "hidden": 4}
LIBFLAG_FHASDISKIMAGE = 8


def braced(guid):
    return "{" + str(uuid.UUID(guid)).upper() + "}"


def read_idl(path):
    """The library, its interfaces and classes: each with its attributes, from the IDL text."""
    text = path.read_bytes().decode("cp1252")
    text = re.sub(r"//[^\n]*", "", text)
    items = []
    for attrs, kind, name in re.findall(r"\[([^\[\]]*)\]\s*(library|interface|dispinterface|coclass)\s+(\w+)", text):
        words = {}
        for m in re.finditer(r"(\w+)\s*(?:\(([^)]*)\))?", attrs):
            words[m.group(1)] = (m.group(2) or "").strip().strip('"')
        if "uuid" in words:
            items.append({"kind": kind, "name": name, "attrs": words})
    library = next(i for i in items if i["kind"] == "library")
    return library, [i for i in items if i["kind"] != "library"]


def read_version(rc):
    m = re.search(r"^\s*FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)", rc.read_text(), re.M)
    return ".".join(m.groups())


class Table:
    def __init__(self):
        self.data = tomllib.loads((ROOT / "ocx/Registration.toml").read_text())
        library, items = read_idl(ROOT / "ocx/Palvor.idl")
        self.libid = braced(library["attrs"]["uuid"])
        self.lib_version = library["attrs"].get("version", "1.0")
        self.lib_name = library["attrs"].get("helpstring", library["name"])
        self.lib_flags = sum(v for k, v in LIB_FLAGS.items() if k in library["attrs"]) | LIBFLAG_FHASDISKIMAGE
        self.coclasses = {i["name"]: braced(i["attrs"]["uuid"]) for i in items if i["kind"] == "coclass"}
        # Every dual, automation or dispatch interface: the ones the type library registers.
        self.interfaces = []
        for i in items:
            a = i["attrs"]
            if i["kind"] == "dispinterface":
                self.interfaces.append((i["name"], braced(a["uuid"]), PS_DISPATCH))
            elif "dual" in a or "oleautomation" in a:
                self.interfaces.append((i["name"], braced(a["uuid"]), PS_OAINTERFACE))
        self.file_version = read_version(ROOT / "ocx/Delvorin2.rc")

    def classes(self):
        for c in self.data["class"]:
            yield c, self.coclasses[c["coclass"]]

    def class_rows(self):
        """(key, value name or None, data or None for a key without value) of every class."""
        rows, progids = [], []
        for c, clsid in self.classes():
            key = "CLSID\\" + clsid
            rows.append((key, None, c["description"]))
            if "progid" in c:
                rows.append((key + "\\ProgID", None, c["progid"]))
            if "version_independent_progid" in c:
                rows.append((key + "\\VersionIndependentProgID", None, c["version_independent_progid"]))
            rows.append((key + "\\InprocServer32", None, "<module>"))
            rows.append((key + "\\InprocServer32", "ThreadingModel", c["threading"]))
            if c.get("control"):
                rows.append((key + "\\Control", None, None))
            if c.get("insertable"):
                rows.append((key + "\\Insertable", None, None))
            if "misc_status" in c:
                rows.append((key + "\\MiscStatus", None, str(c["misc_status"])))
            if "misc_status_content" in c:
                rows.append((key + "\\MiscStatus\\1", None, str(c["misc_status_content"])))
            if "toolbox_bitmap" in c:
                rows.append((key + "\\ToolboxBitmap32", None, "<module>, %d" % c["toolbox_bitmap"]))
            if c.get("control"):
                rows.append((key + "\\TypeLib", None, self.libid))
                rows.append((key + "\\Version", None, self.lib_version))
            for catid in c.get("categories", []):
                rows.append((key + "\\Implemented Categories\\" + catid, None, None))
            if "progid" in c:
                progids.append((c, clsid))
        for c, clsid in progids:
            independent = c.get("version_independent_progid")
            if independent:
                rows.append((independent, None, c["description"]))
                rows.append((independent + "\\CLSID", None, clsid))
                rows.append((independent + "\\CurVer", None, c["progid"]))
            rows.append((c["progid"], None, c["description"]))
            rows.append((c["progid"] + "\\CLSID", None, clsid))
            if c.get("insertable"):
                rows.append((c["progid"] + "\\Insertable", None, None))
        return rows

    def class_trees(self):
        trees = ["CLSID\\" + clsid for _, clsid in self.classes()]
        for c, _ in self.classes():
            trees += [c[k] for k in ("progid", "version_independent_progid") if k in c]
        return trees

    def typelib_rows(self, arch):
        """What registering the type library writes: the library's version key and one key per
        interface, so that marshalling finds the library's proxy."""
        key = "TypeLib\\%s\\%s" % (self.libid, self.lib_version)
        rows = [(key, None, self.lib_name),
                (key + "\\0\\" + arch, None, "<module>"),
                (key + "\\FLAGS", None, str(self.lib_flags)),
                (key + "\\HELPDIR", None, "<folder>")]
        for name, iid, proxy in self.interfaces:
            rows += [("Interface\\" + iid, None, name),
                     ("Interface\\" + iid + "\\ProxyStubClsid", None, proxy),
                     ("Interface\\" + iid + "\\ProxyStubClsid32", None, proxy),
                     ("Interface\\" + iid + "\\TypeLib", None, self.libid),
                     ("Interface\\" + iid + "\\TypeLib", "Version", self.lib_version)]
        return rows

    def typelib_trees(self):
        return ["TypeLib\\%s\\%s" % (self.libid, self.lib_version)] + ["Interface\\" + iid for _, iid, _ in self.interfaces]


def c_string(s):
    if s is None:
        return "nullptr"
    return 'L"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def write_header(t, arch):
    out = ["#pragma once",
           "// The keys the server registers, written by tools/registration.py from ocx/Registration.toml",
           "// and Palvor.idl. In data, \"<module>\" stands for the server's path and \"<folder>\" for its folder.",
           "",
           "namespace delvorin::ocx {",
           "",
           "// A value below the classes' root (HKEY_CLASSES_ROOT, or HKCU\\Software\\Classes per user); a",
           "// row without name and data only makes its key.",
           "struct RegistryRow {",
           "  const wchar_t* key;",
           "  const wchar_t* name;",
           "  const wchar_t* data;",
           "};",
           ""]

    def table(name, rows):
        out.append("inline constexpr RegistryRow %s[] = {" % name)
        out.extend("    {%s, %s, %s}," % (c_string(k), c_string(n), c_string(d)) for k, n, d in rows)
        out.append("};")

    def list_(name, items):
        out.append("inline constexpr const wchar_t* %s[] = {" % name)
        out.extend("    %s," % c_string(i) for i in items)
        out.append("};")

    out.append("// The classes, their ProgIDs and the property pages.")
    table("kClassRows", t.class_rows())
    out.append("// What registering the type library writes (per user, the server writes it itself).")
    table("kTypeLibRows", t.typelib_rows(arch))
    out.append("// The trees unregistration removes.")
    list_("kClassTrees", t.class_trees())
    list_("kTypeLibTrees", t.typelib_trees())
    out.append('inline constexpr const wchar_t* kTypeLibKey = %s;' % c_string("TypeLib\\" + t.libid))
    out += ["", "}  // namespace delvorin::ocx", ""]
    return "\n".join(out)


def processor(arch):
    return {"win32": "x86", "win64": "amd64"}[arch]


def misc_words(bits):
    return ",".join(w for i, w in enumerate(MISC_WORDS) if bits & (1 << i))


def write_manifest(t, arch):
    d = t.data
    lines = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>',
             "<!-- Written by tools/registration.py from the server's registration table. -->",
             '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">',
             '  <assemblyIdentity type="win32" name=%s version=%s processorArchitecture=%s/>'
             % (quoteattr(d["assembly"]), quoteattr(t.file_version), quoteattr(processor(arch))),
             "  <file name=%s>" % quoteattr(d["file"])]
    for c, clsid in t.classes():
        attrs = [("clsid", clsid), ("threadingModel", c["threading"]), ("tlbid", t.libid)]
        if "progid" in c:
            attrs.append(("progid", c["progid"]))
        attrs.append(("description", c["description"]))
        if c.get("misc_status"):
            attrs.append(("miscStatus", misc_words(c["misc_status"])))
        if c.get("misc_status_content"):
            attrs.append(("miscStatusContent", misc_words(c["misc_status_content"])))
        head = "    <comClass " + " ".join("%s=%s" % (k, quoteattr(v)) for k, v in attrs)
        if "version_independent_progid" in c:
            lines += [head + ">", "      <progid>%s</progid>" % c["version_independent_progid"], "    </comClass>"]
        else:
            lines.append(head + "/>")
    flags = [name.upper() for name, bit in LIB_FLAGS.items() if t.lib_flags & bit] + ["HASDISKIMAGE"]
    lines.append('    <typelib tlbid=%s version=%s helpdir="" flags=%s/>'
                 % (quoteattr(t.libid), quoteattr(t.lib_version), quoteattr(",".join(flags))))
    lines.append("  </file>")
    for name, iid, proxy in t.interfaces:
        lines.append("  <comInterfaceExternalProxyStub name=%s iid=%s proxyStubClsid32=%s baseInterface=%s tlbid=%s/>"
                     % tuple(quoteattr(v) for v in (name, iid, proxy, IID_IDISPATCH, t.libid)))
    lines += ["</assembly>", ""]
    return "\r\n".join(lines)


def stable_guid(*names):
    """A GUID that stays the same from build to build for the same names (upgrade and component codes)."""
    return braced(str(uuid.uuid5(uuid.UUID(t_namespace), "/".join(names))))


t_namespace = "3c1f6c2e-6a57-4d8e-9d0e-2b7f0f9a4e11"


def write_wxs(t, arch, scope, folder, out_folder):
    d = t.data
    x64 = arch == "win64"
    per_user = scope == "user"
    # Per machine the classes go to HKLM\Software\Classes; per user to the root the installation
    # picks (HKMU: HKCU\Software\Classes for a per-user installation).
    root = "HKMU" if per_user else "HKLM"
    server_file = "ServerFile"
    values = {"<module>": "[#%s]" % server_file, "<folder>": "[INSTALLDIR]"}

    def value(s):
        for k, v in values.items():
            s = s.replace(k, v)
        return s

    rows = t.class_rows() + t.typelib_rows(arch)
    base = "ProgramFiles64Folder" if x64 else "ProgramFilesFolder"
    if per_user:
        base = "LocalAppDataFolder"
    win64 = ' Win64="yes"' if x64 else ""
    name = d["product"] + (" (por usuário)" if per_user else "")
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Written by tools/registration.py from the server's registration table. -->",
           '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
           '  <Product Id="*" Name=%s Language="1046" Codepage="1252" Version=%s Manufacturer=%s UpgradeCode=%s>'
           % (quoteattr(name), quoteattr(t.file_version), quoteattr(d["manufacturer"]),
              quoteattr(stable_guid("upgrade", arch, scope))),
           '    <Package InstallerVersion="200" Compressed="yes" InstallScope=%s Description=%s/>'
           % (quoteattr("perUser" if per_user else "perMachine"), quoteattr(d["product"])),
           '    <Media Id="1" Cabinet="server.cab" EmbedCab="yes"/>',
           '    <Directory Id="TARGETDIR" Name="SourceDir">',
           '      <Directory Id=%s>' % quoteattr(base),
           '        <Directory Id="INSTALLDIR" Name=%s>' % quoteattr(d["product"]),
           '          <Component Id="Server" Guid=%s%s>' % (quoteattr(stable_guid("server", arch, scope)), win64),
           '            <File Id=%s Name=%s Source=%s KeyPath="yes"/>'
           % (quoteattr(server_file), quoteattr(d["file"]), quoteattr(os.path.relpath(Path(folder) / d["file"], out_folder))),
           '            <File Id="AssemblyManifest" Name=%s Source=%s/>'
           % (quoteattr(d["assembly"] + ".manifest"), quoteattr(os.path.relpath(Path(folder) / (d["assembly"] + ".manifest"), out_folder)))]
    for key, vname, data in rows:
        attrs = [("Root", root), ("Key", ("Software\\Classes\\" + key))]
        if vname is not None:
            attrs.append(("Name", vname))
        if data is None:
            # A key without value: made on installation and removed with the product.
            attrs += [("Name", "*"), ("Value", ""), ("Type", "string")]
        else:
            attrs += [("Value", value(data)), ("Type", "string")]
        out.append("            <RegistryValue " + " ".join("%s=%s" % (k, quoteattr(v)) for k, v in attrs) + "/>")
    out += ["          </Component>",
            "        </Directory>",
            "      </Directory>",
            "    </Directory>",
            '    <Feature Id="Server" Level="1">',
            '      <ComponentRef Id="Server"/>',
            "    </Feature>",
            "  </Product>",
            "</Wix>",
            ""]
    return "\n".join(out)


def write_application(t, arch, name):
    d = t.data
    return "\r\n".join([
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>',
        '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">',
        '  <assemblyIdentity type="win32" name=%s version="1.0.0.0" processorArchitecture=%s/>'
        % (quoteattr(name), quoteattr(processor(arch))),
        "  <dependency>",
        "    <dependentAssembly>",
        '      <assemblyIdentity type="win32" name=%s version=%s processorArchitecture=%s/>'
        % (quoteattr(d["assembly"]), quoteattr(t.file_version), quoteattr(processor(arch))),
        "    </dependentAssembly>",
        "  </dependency>",
        "</assembly>",
        ""])


def build_msi(t, arch, scope, folder, out):
    """wixl builds the package; the HKMU root it writes is set right afterwards."""
    wxs = Path(out).with_suffix(".wxs")
    wxs.write_text(write_wxs(t, arch, scope, folder, wxs.resolve().parent), encoding="utf-8")
    subprocess.run(["wixl", "-a", "x64" if arch == "win64" else "x86", "-o", str(out), str(wxs)], check=True)
    if scope == "user":
        subprocess.run(["msibuild", str(out), "-q", "UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4"], check=True)


def main(argv):
    what = argv[1] if len(argv) > 1 else ""
    if what == "version" and len(argv) == 2:
        print(Table().file_version)
        return
    if len(argv) < 4 or what not in ("header", "manifest", "wxs", "msi", "application") or argv[2] not in ("win32", "win64"):
        sys.exit(__doc__)
    t = Table()
    arch = argv[2]
    if what == "header":
        text, out = write_header(t, arch), argv[3]
    elif what == "manifest":
        text, out = write_manifest(t, arch), argv[3]
    elif what == "application" and len(argv) == 5:
        text, out = write_application(t, arch, argv[3]), argv[4]
    elif len(argv) == 6 and argv[3] in ("machine", "user"):
        if what == "msi":
            build_msi(t, arch, argv[3], argv[4], argv[5])
            return
        out = argv[5]
        text = write_wxs(t, arch, argv[3], argv[4], Path(out).resolve().parent)
    else:
        sys.exit(__doc__)
    Path(out).write_text(text, encoding="utf-8", newline="")


if __name__ == "__main__":
    main(sys.argv)
