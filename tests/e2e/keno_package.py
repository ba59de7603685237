#!/usr/bin/env python3
"""Checks a release package as a player gets it.

Verifies the checksum file beside the package, unpacks the zip (Windows)
or tarball (Linux) into an empty folder, checks what it holds, then plays
there: a history put beside the program is what it reads, and without one
it says the file cannot be opened (the synthetic sample in sample/ is
never picked up). The run the guide and the README show must be what it
prints on its sample, and a version a document names, the package's.

  keno_package.py --package build/keno-VERSION-Linux-x86_64.tar.gz --version VERSION \\
      --static-readelf readelf
  keno_package.py --package build-windows/keno-VERSION-win64.zip \\
      --version VERSION --objdump x86_64-w64-mingw32-objdump --emulator wine
"""
import argparse
import os
import re
import shlex
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile

from model import PROMPT, ROOT
from cases import build
from runners import run_case

# A player downloads keno.exe; it must stay small.
MAX_EXE_BYTES = 1536 * 1024
# Windows' own DLLs: the kernel and the C runtime, old or universal.
SYSTEM_DLL = re.compile(r"(KERNEL32|msvcrt|ucrtbase|api-ms-win-crt-.*)\.dll",
                        re.IGNORECASE)
# What a package holds, for Linux (False) and Windows (True): the program,
# the synthetic sample, beside a note of its own, the license and the guides.
FILES = {False: ["bin/keno", "share/keno/sample/keno10.csv",
                 "share/keno/sample/README.txt", "LICENSE", "README.txt",
                 "share/doc/keno/README.md", "share/doc/keno/CHANGELOG.md"],
         True: ["keno.exe", "sample/keno10.csv", "sample/README.txt",
                "LICENSE.txt", "README.txt"]}
# The sample, copied beside the program as its note says, gives the run
# that the guide and the README, SHOWN, show: sample_run.
CASES = ["sample_run", "known_hits", "missing_file"]
SHOWN = ["README.txt", "share/doc/keno/README.md"]
# A Markdown link's target, up to a "#"; a bare "#anchor" is not one.
LINK = re.compile(r"\]\(([^)#]+)")
# A version of keno, as a document names it: keno 1.0.0, keno-1.0.0-win64.
NAMED = re.compile(r"\bkeno[- ](\d+\.\d+\.\d+)")


def unpack(archive, into):
    if archive.endswith(".zip"):
        with zipfile.ZipFile(archive) as z:
            z.extractall(into)
        return into  # Extract All makes this folder: keno.exe at its top
    with tarfile.open(archive) as t:
        # No member may land outside `into` or be a device.
        if hasattr(tarfile, "data_filter"):
            t.extractall(into, filter="data")
        else:
            t.extractall(into)
    tops = os.listdir(into)
    if len(tops) != 1:
        raise SystemExit(f"expected one top folder, found {tops}")
    return os.path.join(into, tops[0])


def check_documents(top, docs, version, windows):
    """Each document whose lines do not end as its platform's do; FILE:LINE
    where one names another version of keno, or links to no file here."""
    problems = []
    for doc in docs:
        data = read(os.path.join(top, doc))
        if not data or (data.count(b"\n") != data.count(b"\r\n") if windows
                        else b"\r" in data):
            problems.append(f"{doc} does not end its lines in "
                            + ("CR LF" if windows else "LF alone"))
        for number, line in enumerate(data.decode().splitlines(), 1):
            problems += [f"{doc}:{number}: names keno {named}, not {version}"
                         for named in NAMED.findall(line) if named != version]
            for target in LINK.findall(line) if doc.endswith(".md") else []:
                path = os.path.normpath(os.path.join(top, doc, "..", target))
                if ":" not in target and not (path.startswith(top + os.sep)
                                              and os.path.isfile(path)):
                    problems.append(f"{doc}:{number}: {target}: no such file")
    return problems


def read(path):
    with open(path, "rb") as f:
        return f.read()


def files_in(top):
    return sorted(os.path.relpath(os.path.join(d, f), top).replace(os.sep, "/")
                  for d, _, names in os.walk(top) for f in names)


def check_windows(exe, version, objdump):
    problems = []
    data = read(exe)
    if len(data) >= MAX_EXE_BYTES:
        problems.append(f"keno.exe is {len(data)} bytes")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    # NumberOfSymbols of the COFF header: 0 once stripped.
    if struct.unpack_from("<I", data, pe + 4 + 12)[0]:
        problems.append("keno.exe is not stripped")
    for text in ["ProductVersion", version, "keno.exe"]:
        if text.encode("utf-16-le") not in data:
            problems.append(f"no {text!r} in keno.exe's version resource")
    if objdump is None:
        print("keno.exe's imports not checked: no objdump given")
    else:
        dump = subprocess.run([objdump, "-p", exe], stdout=subprocess.PIPE,
                              check=True, text=True).stdout
        dlls = re.findall(r"DLL Name: (\S+)", dump)
        print("keno.exe imports " + ", ".join(dlls))
        problems += [f"keno.exe imports {d}" for d in dlls
                     if not SYSTEM_DLL.fullmatch(d)]
    return problems


def check_linux(keno, readelf):
    problems = []
    if not os.access(keno, os.X_OK):
        problems.append("bin/keno is not executable")
    if b".symtab" in read(keno):
        problems.append("bin/keno is not stripped")
    if readelf:
        dump = subprocess.run([readelf, "-d", keno], stdout=subprocess.PIPE,
                              text=True).stdout
        if "There is no dynamic section" not in dump:
            needs = re.findall(r"Shared library: \[(.*?)\]", dump)
            problems.append(f"bin/keno has a dynamic section, needs {needs}")
    return problems


def check_checksum(package):
    """The checksum file beside the package, as `sha256sum -c` checks it."""
    folder, name = os.path.split(os.path.abspath(package))
    sums = name + ".sha256"
    check = subprocess.run(["sha256sum", "--check", "--strict", sums],
                           cwd=folder, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
    print(check.stdout.strip())
    return [] if check.returncode == 0 else [f"{sums} does not verify"]


def run_differs(top, doc):
    """FILE:LINE where the run `doc` shows is not, in order, what a terminal
    shows for sample_run ("..." stands for what is left out): the README's
    first text block, all of it, to the byte, or the guide's lines indented
    by four in "What keno prints", up to the explanation beside them."""
    lines = read(os.path.join(top, doc)).decode().splitlines()
    whole = doc.endswith(".md")
    if whole:
        start = lines.index("```text") + 1
        end = lines.index("```", start)
    else:
        start = next(i for i, line in enumerate(lines)
                     if line.endswith("What keno prints"))
        end = next(i for i in range(start + 2, len(lines))
                   if re.match(r"\d+\. ", lines[i]))
    case = build("sample_run")
    typed = case.typed.decode().splitlines()[0]
    printed = iter(line if whole else line.rstrip() for line in case.expected
                   .replace(PROMPT, PROMPT + typed + "\n").splitlines())
    shown = [(n + 1, lines[n] if whole else
              re.split(r"\s{2,}", lines[n].strip())[0])
             for n in range(start, end)
             if whole or re.match(r"    \S", lines[n])]
    for number, text in shown:
        head, cut, tail = (part.strip() for part in text.partition("..."))
        fits = re.compile(re.escape(head) + ".+" + re.escape(tail) if cut
                          else re.escape(text)).fullmatch
        if not (fits(next(printed, "")) if whole else
                any(map(fits, printed))):
            return f"{doc}:{number}: {text!r} is not what the run prints"
    if whole and next(printed, None) is not None:
        return f"{doc} shows the run only in part"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--package", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--objdump", help="objdump for the Windows program")
    parser.add_argument("--static-readelf",
                        help="readelf, to check that bin/keno is static")
    parser.add_argument("--emulator", default="")
    parser.add_argument("--timeout", type=float, default=120)
    args = parser.parse_args()
    windows = args.package.endswith(".zip")
    with tempfile.TemporaryDirectory(prefix="keno_package_") as folder:
        top = unpack(args.package, folder)
        program, sample, _, license = FILES[windows][:4]
        keno = os.path.join(top, program)
        expected = sorted(FILES[windows])
        problems = check_checksum(args.package)
        found = files_in(top)
        problems += check_documents(top, [doc for doc in found if doc not in (
            program, sample)], args.version, windows)
        if found != expected:
            problems.append(f"package holds {found}, expected {expected}")
        elif read(os.path.join(top, sample)) != read(
                os.path.join(ROOT, "data", "keno10.csv")):
            problems.append(f"{sample} is not data/keno10.csv")
        elif read(os.path.join(top, license)).replace(
                b"\r\n", b"\n") != read(os.path.join(ROOT, "LICENSE")):
            problems.append(f"{license} is not the license")
        elif windows:
            problems += check_windows(keno, args.version, args.objdump)
        else:
            problems += check_linux(keno, args.static_readelf)
        if not problems:
            problems += filter(None, (run_differs(top, doc) for doc in SHOWN
                                      if doc in found))
        for p in problems:
            print(p)
        ok = not problems and all([
            run_case(name, keno, shlex.split(args.emulator), args.timeout, 0,
                     folder=top) is True
            for name in CASES])
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
