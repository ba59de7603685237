"""Faults injected into keno's use of its history with strace, and what
strace shows of keno's reads: their size, and which call is where."""
import collections
import functools
import os
import re
import shutil
import subprocess
import sys
import tempfile
# Raised when the case cannot run on this system, saying why.
from unittest import SkipTest as Skip

from model import history, well_formed_rows

# The command that runs keno; none while the cases are only listed.
KENO = []
# A call on the history as strace -f shows it, after the process's id.
CALL = re.compile(r"(\d+) +(openat|read|close)\(.*?(?:, (\d+))?\) += (-?\d+)")


# The call on the history that fails with `error`: in each of `passes`, the
# read of the byte `at`, or with `call` openat the open; with `onwards`,
# every such call after it too.
Fault = collections.namedtuple("Fault", "at passes onwards call error",
                               defaults=(0, (1,), False, "read", "EIO"))


def when(fault, calls):
    """strace's when= for the fault's calls, found in a clean run's. A
    close ends a pass, as the fault will: its pass is counted no further.
    A read starts where the last ended (Wine reads on after a short one)."""
    found, passes, counted, at = {}, 1, 0, 0
    for name, _, result in calls:
        if name == "close":
            passes, at = passes + 1, 0
        elif name == fault.call and passes not in found:
            counted += 1
            if at == fault.at and passes in fault.passes:
                found[passes] = counted
        at += max(result, 0) if name == "read" else 0
    if len(found) < len(fault.passes):
        raise SystemExit(f"a clean run made no {fault.call} at byte "
                         f"{fault.at} in each of passes {fault.passes}")
    first, last = min(found.values()), max(found.values())
    step = max(last - first, 1)  # any step, when one call fails
    return f"{first}+" if fault.onwards else f"{first}..{last}+{step}"


def strace(command, env, *options):
    """`command` under strace, watching only its calls on the history however
    keno makes them (static binaries and Wine's too); and its environment."""
    if not (sys.platform.startswith("linux") and shutil.which("strace")):
        raise Skip("watches keno with strace, which needs Linux and strace")
    # LeakSanitizer cannot work under ptrace.
    env = dict(env, ASAN_OPTIONS=":".join(
        filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"])))
    return ["strace", "-f", "-P", "keno10.csv", *options] + command, env


def traced(command, folder, typed, env):
    """The calls on the history of `command` run in `folder` on `typed`,
    to its end, by the process that reads it: (name, bytes asked, result)."""
    command, env = strace(command, env, "-o", "/dev/stderr", "-s", "0", "-e",
                          "signal=none", "-e", "trace=openat,read,close")
    said = subprocess.run(command, cwd=folder, env=env, input=typed,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE
                          ).stderr.decode(errors="replace")
    calls = [m.groups() for m in map(CALL.match, said.splitlines()) if m]
    reader = next((pid for pid, name, _, _ in calls if name == "read"), None)
    if not reader:
        raise SystemExit("keno read no history under strace: " + said)
    return [(name, int(asked or 0), int(result))
            for pid, name, asked, result in calls if pid == reader]


def block():
    """The bytes each of keno's reads of a regular file asks for, so that a
    failure comes a whole number of blocks in. Any size while the cases are
    only listed: no refusal depends on a history's size."""
    return asked_by(tuple(KENO)) if KENO else 1000


@functools.cache
def asked_by(keno):
    with tempfile.TemporaryDirectory(prefix="keno_block_") as folder:
        with open(os.path.join(folder, "keno10.csv"), "wb") as f:
            f.write(history(well_formed_rows(5)))
        calls = traced(list(keno), folder, b"1 2 3 4 5\n\n", os.environ)
    return next(asked for name, asked, _ in calls if name == "read")


def injected(command, case, env, folder):
    """`command` run with the case's fault where a clean run of it makes
    the calls the fault names, and its environment."""
    fault, calls = case.inject, traced(command, folder, case.typed, env)
    return strace(command, env, "-o", os.devnull, "-e", f"inject={fault.call}"
                  f":error={fault.error}:when={when(fault, calls)}")
