"""Faults injected into keno's use of its history with strace, and the
block arithmetic that says where a failed read cuts the history."""
import math
import os
import re
import shutil
import sys

from model import PLAYS, ROOT

# strace's syntax for the calls that fail: when=3 is the third read, 3+3
# every third from it, 2+ all from the second.
FAILED_READ = "read:error=EIO"


def block_size():
    """The size of keno's reads of the history, from the reader's header,
    so that a case cut at a block's end follows it there."""
    with open(os.path.join(ROOT, "analysis", "field_reader.h")) as f:
        found = re.search(r"kBlockSize = ([^;]+);", f.read())
    size = found.group(1) if found else ""
    if not re.fullmatch(r"(std::size_t\{\d+\}|\d+)( \* \d+)*", size):
        raise SystemExit("analysis/field_reader.h: kBlockSize is no product "
                         f"of decimal numbers: {size!r}")
    return math.prod(int(n) for n in re.findall(r"\d+", size))


# keno reads a regular file a block at a time, so a failure comes a whole
# number of blocks in. Wine reads for keno.exe as keno does, except that it
# goes on reading a block that came short.
BLOCK = block_size()


def row_end_at(data, offset):
    """`data` with its first row padded so that a row ends exactly `offset`
    bytes in, and the number of rows before that."""
    pad = offset - (data.rfind(b"\n", 0, offset) + 1)
    data = data.replace(b";01.01.1999", b";01.01.1999" + b" " * pad, 1)
    assert data[offset - 1:offset] == b"\n"
    return data, data[:offset].count(b"\n") - 1


def reads_to_play(data):
    """The reads that the plays take: the header's and the played rows'
    blocks."""
    return -(-len(b"".join(data.splitlines(True)[:PLAYS + 1])) // BLOCK)


def missing(case, emulator):
    """What this system lacks to inject the case's fault, or None."""
    if not (sys.platform.startswith("linux") and shutil.which("strace")):
        return "injects its fault with strace, which needs Linux and strace"
    if case.inject.startswith("openat") and emulator:
        return "fails an open, which Wine makes in wineserver, out of reach"
    return None


def injected(command, case, env):
    """`command` run with the case's fault, and its environment."""
    # LeakSanitizer cannot work under ptrace.
    env = dict(env, ASAN_OPTIONS=":".join(
        filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"])))
    # -P: only the history's calls count and fail, however keno makes them,
    # static binaries too.
    return ["strace", "-f", "-o", os.devnull, "-P", "keno10.csv", "-e",
            "inject=" + case.inject] + command, env
