#!/bin/sh
# check-manifest.sh EXE: the executable must carry exactly one manifest resource
# (resource type 24, any id and language). Reads the PE resource directory itself,
# so it works for 32- and 64-bit executables alike. Exit 0 when there is exactly one.
set -eu
[ $# -eq 1 ] || { echo "usage: check-manifest.sh EXE" >&2; exit 2; }
exec python3 - "$1" <<'PY'
import struct
import sys

RT_MANIFEST = 24

def fail(text):
    print("check-manifest: %s: %s" % (sys.argv[1], text))
    sys.exit(1)

try:
    data = open(sys.argv[1], "rb").read()
except OSError as e:
    fail("cannot be read (%s)" % e.strerror)
if data[:2] != b"MZ":
    fail("not an executable")
pe = struct.unpack_from("<I", data, 0x3C)[0]
if data[pe:pe + 4] != b"PE\0\0":
    fail("no PE header")
sections = struct.unpack_from("<H", data, pe + 6)[0]
opt_size = struct.unpack_from("<H", data, pe + 20)[0]
opt = pe + 24
magic = struct.unpack_from("<H", data, opt)[0]
dirs = opt + (96 if magic == 0x10B else 112)
rsrc_rva, rsrc_size = struct.unpack_from("<II", data, dirs + 2 * 8)
if not rsrc_rva:
    fail("no resources at all (0 manifests)")

def rva_to_offset(rva):
    table = opt + opt_size
    for i in range(sections):
        s = table + 40 * i
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
        if vaddr <= rva < vaddr + max(vsize, rawsize):
            return rva - vaddr + rawptr
    fail("resource directory outside every section")

base = rva_to_offset(rsrc_rva)

def entries(offset):
    named, ids = struct.unpack_from("<HH", data, base + offset + 12)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
        yield name, target

def leaves(target, depth=0):
    if depth > 4:
        fail("resource directory nested too deeply")
    if target & 0x80000000:
        count = 0
        for _, t in entries(target & 0x7FFFFFFF):
            count += leaves(t, depth + 1)
        return count
    return 1

found = []
for name, target in entries(0):
    if not (name & 0x80000000) and name == RT_MANIFEST:
        if not target & 0x80000000:
            fail("malformed manifest directory")
        for res_id, t in entries(target & 0x7FFFFFFF):
            found += [res_id] * leaves(t)
print("check-manifest: %s: %d manifest resource(s)%s" % (
    sys.argv[1], len(found), (" (ids %s)" % ", ".join(str(i) for i in found)) if found else ""))
sys.exit(0 if len(found) == 1 else 1)
PY
