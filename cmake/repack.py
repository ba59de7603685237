"""Packs FILE..., paths relative to FOLDER, into PACKAGE (.zip or .tar.gz)
in the order given, each dated DATE (seconds since 1970, UTC) and owned by
user and group 0: the same files give the same bytes, whoever packs them.

  repack.py PACKAGE FOLDER DATE FILE...
"""
import gzip
import io
import os
import stat
import struct
import sys
import tarfile
import time
import zipfile

package, folder, date, *files = sys.argv[1:]
date = int(date)


def entries():
    """Each file's name, permission bits and bytes, in the order given."""
    for name in files:
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            yield name, stat.S_IMODE(os.stat(path).st_mode), f.read()


if package.endswith(".zip"):
    # Info-ZIP's Unix extra field: version 1, a 4-byte uid and gid, both 0.
    owner = struct.pack("<HHBBIBI", 0x7875, 11, 1, 4, 0, 4, 0)
    with zipfile.ZipFile(package, "w") as z:
        for name, mode, data in entries():
            info = zipfile.ZipInfo(name, time.gmtime(date)[:6])
            info.create_system = 3  # Unix, whose modes unzip then keeps
            info.external_attr = (stat.S_IFREG | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            info.extra = owner
            z.writestr(info, data)
else:
    # No name and the one date in the gzip header either.
    with open(package, "wb") as raw, \
            gzip.GzipFile("", "wb", fileobj=raw, mtime=date) as gz, \
            tarfile.open(fileobj=gz, mode="w",
                         format=tarfile.PAX_FORMAT) as tar:
        for name, mode, data in entries():
            info = tarfile.TarInfo(name)  # uid and gid 0, no user names
            info.mode, info.size, info.mtime = mode, len(data), date
            tar.addfile(info, io.BytesIO(data))
