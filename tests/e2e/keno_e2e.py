#!/usr/bin/env python3
"""End-to-end tests: run the real keno binary on history files and piped
input, and compare its status and every byte it writes with a model's.

  keno_e2e.py --list
  keno_e2e.py --keno build/keno --case sample_run [--emulator wine]

A case that needs what this system lacks says so and exits with 77, which
CTest counts as skipped.
"""
import argparse
import difflib
import os
import shlex
import sys

from cases import CASES, build
from runners import SKIPPED, run_case


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--keno")
    parser.add_argument("--emulator", default="",
                        help="command that runs the binary (e.g. wine)")
    parser.add_argument("--case", action="append", default=[])
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--console-screen",
                        help="keno_console_screen.exe, for the console cases")
    parser.add_argument("--console-dir", default="console",
                        help="the console cases' Wine prefix and screenshots")
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("--max-memory-mb", type=float, default=0,
                        help="fail when the peak memory of a keno that waits "
                        "for Enter is higher")
    args = parser.parse_args()
    if args.list:
        # Each is built, so that a row no runner carries out stops the
        # build's configure.
        print("\n".join(name for name in CASES if build(name)))
        return 0
    for name in args.case:
        if name not in CASES:
            close = difflib.get_close_matches(name, CASES, n=3, cutoff=0.5)
            hint = f"; the closest: {', '.join(close)}" if close else ""
            parser.exit(2, f"{parser.prog}: no case {name!r}{hint}\n")
    keno = args.keno or parser.error("--keno is required")
    if not (os.path.isfile(keno) and os.access(keno, os.X_OK)):
        why = ("is a folder" if os.path.isdir(keno) else "is not executable"
               if os.path.exists(keno) else "does not exist")
        parser.exit(2, f"{parser.prog}: --keno {keno} {why}\n")
    results = [run_case(n, keno, shlex.split(args.emulator), args.timeout,
                        args.max_memory_mb, None, args.console_screen,
                        args.console_dir) for n in args.case or CASES]
    if False in results:
        return 1
    return 77 if all(r == SKIPPED for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
