"""Packs FILE..., paths relative to FOLDER, into PACKAGE (.zip or .tar.gz)
in the order given, each dated DATE (seconds since 1970, UTC) and owned by
user and group 0: the same files give the same bytes, whoever packs them.

  repack.py PACKAGE FOLDER DATE FILE...
"""
import gzip
import os
import stat
import struct
import sys
import tarfile
import time
import zipfile

package, folder, date, *files = sys.argv[1:]
date = int(date)
if package.endswith(".zip"):
    # Info-ZIP's Unix extra field: version 1, a 4-byte uid and gid, both 0.
    owner = struct.pack("<HHBBIBI", 0x7875, 11, 1, 4, 0, 4, 0)
    with zipfile.ZipFile(package, "w") as z:
        for name in files:
            path = os.path.join(folder, name)
            info = zipfile.ZipInfo(name, time.gmtime(date)[:6])
            info.create_system = 3  # Unix, whose modes unzip then keeps
            info.external_attr = os.stat(path).st_mode << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            info.extra = owner
            with open(path, "rb") as f:
                z.writestr(info, f.read())
else:
    # No name and the one date in the gzip header either.
    with open(package, "wb") as raw, \
            gzip.GzipFile("", "wb", fileobj=raw, mtime=date) as gz, \
            tarfile.open(fileobj=gz, mode="w",
                         format=tarfile.PAX_FORMAT) as tar:
        for name in files:
            path = os.path.join(folder, name)
            info = tarfile.TarInfo(name)  # uid and gid 0, no user names
            info.mode = stat.S_IMODE(os.stat(path).st_mode)
            info.size = os.path.getsize(path)
            info.mtime = date
            with open(path, "rb") as f:
                tar.addfile(info, f)
