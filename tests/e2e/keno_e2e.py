#!/usr/bin/env python3
"""End-to-end tests: run the real keno binary on history files and piped input.

Each case writes a history file into a fresh folder, runs keno there with the
given standard input, and compares the exit status and every byte of the
output with what a small model of the game expects. A Windows build writes
CR LF line ends; the expected text is the same with "\n" turned into "\r\n".

  keno_e2e.py --keno build/keno --list
  keno_e2e.py --keno build/keno --case sample_run [--emulator wine]

Cases that need what a platform lacks say so and exit with 77, which CTest
counts as skipped: the read errors are injected with strace, so they need it
and Linux. A terminal as the input is a pty for a native POSIX build and a
real console window for keno.exe: Wine's console host on an Xvfb of its own,
typed into with xdotool, its screen read by keno_console_screen.exe
(--console-screen). The console cases share one Wine prefix in --console-dir
and take turns through a lock file there.
"""
import argparse
import contextlib
import dataclasses
import glob
import os
import re
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PLAYS = 4876
PAYOUT = [0, 0, 0, 1, 8, 100]
HEADER = "Tah;Datum;Den;" + ";".join(f"C{i}" for i in range(1, 21))
INVALID = "Neplatne cislo, zadajte ho znova:"
INPUT_ENDED = ("Keno - analyza historie zrebovani\n"
               "Zadajte 5 typovanych cisel:\n"
               "Vstup sa skoncil pred zadanim 5 cisel.\n")
READ_ERROR = "Chyba pri citani suboru keno10.csv.\n"
NOT_OPENED = "Subor sa neda otvorit.\n"
LOOKED_FOR = "Hladany subor: "  # then the full path of keno10.csv
WRITE_ERROR = "Chyba pri zapise vystupu.\n"
# keno writes bytes, echoed from the history: one character a byte.
OUTPUT_ENCODING = "latin-1"
# keno reads the history in blocks of this size.
BLOCK = 64 * 1024
DIRECTORY = "directory"  # as a Case's history: a folder named keno10.csv
SKIPPED = "skipped"
SKIP_STATUS = 77  # CTest's SKIP_RETURN_CODE: the case cannot run here
# Size of the large histories: memory must not grow with a line or a field.
LARGE = 20 * 1000 * 1000
# Seconds a keno that waits for Enter must still be running, its output out.
STILL_WAITING = 2
PROMPT = "Zadajte 5 typovanych cisel:"


@dataclasses.dataclass
class Case:
    history: bytes | None  # None: no history file at all
    typed: bytes
    status: int
    expected: str
    keep_open: bool = False  # the input stays open after `typed`...
    enter: bytes | None = None  # ...and keno must wait until this is typed
    # The input is a terminal (keep_open only); a Windows keno's is a console
    # window, which shows the output too.
    terminal: bool = False
    null_input: bool = False  # the input is the null device: /dev/null, NUL
    folder: str | None = None  # keno runs in this subfolder of the case's
    read_only: bool = False
    stderr: str = ""  # all that keno writes to standard error
    stdout: str = "pipe"  # or "full" (/dev/full), or "closed"
    stdin_closed: bool = False
    inject: str | None = None  # a fault for strace to inject on the history
    fifo: bool = False  # the history is a named pipe, written for each pass


def short_note(draws):
    """What keno tells on standard error after a history of `draws` rows,
    fewer than the plays: nothing once there are enough."""
    if draws >= PLAYS:
        return ""
    return (f"Upozornenie: subor keno10.csv ma len {draws} tahov; zvysnych "
            f"{PLAYS - draws} hier sa hralo bez tahu.\n")


def f32(x):
    """Rounds a double to single precision, as the program stores amounts."""
    return struct.unpack("f", struct.pack("f", x))[0]


def g(x):
    """The stream's default formatting of a float."""
    return "%g" % x


def row_text(i, numbers):
    return f"{i};01.01.1999;piatok;" + ";".join(map(str, numbers))


def well_formed_rows(count, first=1):
    """Deterministic rows of 20 distinct numbers that cover all of 1 to 80."""
    return [[(first + 7 * r + 3 * k - 1) % 80 + 1 for k in range(20)]
            for r in range(count)]


def history(rows, header=HEADER, end="\n"):
    return (header + end + "".join(row_text(i + 1, r) + end
                                   for i, r in enumerate(rows))).encode()


def expected_output(picks, rows, header=HEADER, missing=False, echo=None,
                    counted=None):
    """What a run prints for a ticket on a history of well-formed rows.

    rows are the numbers the program reads; the play loop reads the first
    4876 and then zero rows, the frequency pass reads them all, or the rows
    `counted` when it reads other ones.
    """
    stake = win = 0.0
    stakes = wins = 0
    for r in range(PLAYS):
        drawn = rows[r] if r < len(rows) else [0] * 20
        hits = sum(drawn.count(p) for p in picks)
        stake = f32(stake + 0.5)
        stakes += 1
        pay = PAYOUT[hits] if hits < len(PAYOUT) else 0
        win = f32(win + pay)
        wins += pay > 0
    counts = [0] * 81
    for drawn in rows if counted is None else counted:
        for n in drawn:
            if 1 <= n <= 80:
                counts[n] += 1
    echo = header[:127].split("\0")[0] if echo is None else echo
    lines = ([NOT_OPENED.rstrip("\n")] if missing else []) + [
        "Keno - analyza historie zrebovani",
        "Zadajte 5 typovanych cisel:Typovane:" + "".join(f"{p}," for p in picks),
        "",
        "",
        "Vklad:" + g(stake),
        "Vyhra:" + g(win),
        "Cista vyhra(vyhra-vklad):" + g(f32(win - stake)),
        f"Vkladov:{stakes}",
        f"Vyhier:{wins}",
        f"Tahov:{PLAYS}",
        "Uspesnost(vyhra/vklad): " + g(f32(win / stake * 100)) + "%",
        "Uspesnost2(vyhier/vkladov): " + g(f32(f32(wins / stakes) * 100)) + "%",
        echo + "loooooooooool",
        "Najviac padane cisla od roku 1999 po rok 2012: ",
        "Frekvncia: ",
        "".join(f"[{n}] {c}," for n, c in enumerate(counts)),
    ]
    return "\n".join(lines) + "\n"


def sample_rows():
    with open(os.path.join(ROOT, "data", "keno10.csv"), "rb") as f:
        data = f.read()
    lines = data.decode().split("\n")
    rows = [list(map(int, line.split(";")[3:])) for line in lines[1:] if line]
    return data, lines[0], rows


PICKS = b"1 2 3 4 5\n\n"
TICKET = [1, 2, 3, 4, 5]


def case_sample_run():
    data, header, rows = sample_rows()
    return Case(data, b"72 3 60 17 25\n\n", 0,
                expected_output([72, 3, 60, 17, 25], rows, header))


def case_missing_file():
    return Case(None, PICKS, 0,
                expected_output(TICKET, [], missing=True, echo=""))


def case_empty_file():
    return Case(b"", PICKS, 0, expected_output(TICKET, [], echo=""),
                stderr=short_note(0))


def case_read_only_history():
    # Nothing is written to the history, so a read-only one is fine.
    rows = well_formed_rows(5)
    return Case(history(rows), PICKS, 0, expected_output(TICKET, rows),
                read_only=True, stderr=short_note(5))


def case_short_history():
    # Played on 100 draws and 4776 empty ones; the report counts them all.
    # The blank last line is no draw.
    rows = well_formed_rows(100)
    return Case(history(rows) + b"\n", PICKS, 0, expected_output(TICKET, rows),
                stderr=short_note(100))


def case_one_draw_short_with_crlf():
    # A blank last line makes no draw that would hide the note.
    rows = well_formed_rows(PLAYS - 1)
    return Case(history(rows, end="\r\n") + b"\r\n", PICKS, 0,
                expected_output(TICKET, rows), stderr=short_note(PLAYS - 1))


def case_header_alone():
    return Case(history([]), PICKS, 0, expected_output(TICKET, []),
                stderr=short_note(0))


def case_exactly_4876_rows():
    # Blank lines after the draws change nothing: there is no note.
    rows = well_formed_rows(PLAYS)
    return Case(history(rows) + b"\n\n\n", b"4 8 15 16 23\n\n", 0,
                expected_output([4, 8, 15, 16, 23], rows))


def case_more_rows_than_plays():
    rows = well_formed_rows(6000)
    return Case(history(rows), b"4 8 15 16 23\n\n", 0,
                expected_output([4, 8, 15, 16, 23], rows))


def case_crlf_history():
    rows = well_formed_rows(30)
    return Case(history(rows, end="\r\n"), b"10 20 30 40 50\r\n\r\n", 0,
                expected_output([10, 20, 30, 40, 50], rows),
                stderr=short_note(30))


def case_cr_cr_lf_keeps_one_cr():
    # Only the carriage return right before the line feed goes, whichever
    # platform reads the file.
    rows = well_formed_rows(3)
    return Case(history(rows, "Tah;Datum\r", end="\r\n"), PICKS, 0,
                expected_output(TICKET, rows, "Tah;Datum\r"),
                stderr=short_note(3))


def case_nul_in_the_header():
    # The header is echoed as text, which ends at its first NUL byte.
    rows = well_formed_rows(5)
    return Case(history(rows, "Tah\0" + HEADER[4:]), PICKS, 0,
                expected_output(TICKET, rows, "Tah\0" + HEADER[4:]),
                stderr=short_note(5))


def case_utf16_history():
    # As a Windows editor saves "Unicode" text: every row reads as zeros,
    # and the echo is the byte order mark and the first letter.
    rows = well_formed_rows(5)
    data = ("\ufeff" + history(rows, end="\r\n").decode()).encode("utf-16-le")
    header = data.split(b"\n")[0].decode(OUTPUT_ENCODING)
    expected = expected_output(TICKET, [[0] * 20] * len(rows), header)
    assert "\n\xff\xfeTloooooooooool\n" in expected
    # None of its rows is a draw keno can read.
    return Case(data, PICKS, 0, expected, stderr=short_note(0))


def case_comma_separated_history():
    # A spreadsheet's "CSV" with "," between the fields: a row's first field
    # runs to the end of the file, so no row is a draw.
    header = HEADER.replace(";", ",")
    data = history(well_formed_rows(5100), header).replace(b";", b",")
    return Case(data, PICKS, 0, expected_output(TICKET, [], header),
                stderr=short_note(0))


def case_long_header():
    rows = well_formed_rows(30)
    header = "H" * 100 + ";" + "x" * 200
    return Case(history(rows, header), PICKS, 0,
                expected_output(TICKET, rows, header), stderr=short_note(30))


def case_cut_inside_a_row():
    rows = well_formed_rows(20)
    data = history(rows) + b"21;01.01.1999;piatok;45;4"
    # The cut field counts once; the row's missing fields read 0.
    return Case(data, b"45 4 1 2 3\n\n", 0,
                expected_output([45, 4, 1, 2, 3], rows + [[45, 4] + [0] * 18]),
                stderr=short_note(21))


def case_known_hits():
    ticket = [3, 17, 25, 60, 72]
    filler = list(range(30, 50))
    rows = [filler] * 10
    rows[1] = [3, 17, 25] + filler[3:]           # 3 hits: 1
    rows[4] = [3, 17, 25, 60] + filler[4:]       # 4 hits: 8
    rows[7] = ticket + filler[5:]                # 5 hits: 100
    rows[8] = [72, 60, 3] + filler[3:]           # 3 hits: 1
    expected = expected_output(ticket, rows)
    # The model agrees with totals worked out by hand.
    assert "Vyhra:110\nCista vyhra(vyhra-vklad):-2328\n" in expected
    assert "Vyhier:4\n" in expected
    assert "Uspesnost(vyhra/vklad): 4.5119%\n" in expected
    assert "Uspesnost2(vyhier/vkladov): 0.0820345%\n" in expected
    return Case(history(rows), b"3 17 25 60 72\n\n", 0, expected,
                stderr=short_note(10))


def case_bad_picks():
    # Each bad token is skipped alone; each line that held one asks again.
    rows = well_formed_rows(5)
    expected = expected_output(TICKET, rows).replace(
        "cisel:Typovane", "cisel:" + INVALID * 3 + "Typovane")
    return Case(history(rows), b"1 abc 2\n3 - \n99999999999\n4,5\n\n", 0,
                expected, stderr=short_note(5))


def case_input_ends_early():
    # From a pipe, whose end is final: keno says so and ends with status 1.
    return Case(history(well_formed_rows(5)), b"1 2\n", 1, INPUT_ENDED)


def case_input_ends_at_a_terminal():
    # Ctrl+D ends a terminal's input, but the terminal can still give the
    # Enter that keno then waits for.
    return Case(history(well_formed_rows(5)), b"1 2\n\x04", 1, INPUT_ENDED,
                keep_open=True, enter=b"\n", terminal=True)


def case_input_on_the_null_device():
    # A character device, but no terminal or console: it ends at once.
    return Case(history(well_formed_rows(5)), b"", 1, INPUT_ENDED,
                null_input=True)


def case_terminal_run_in_a_folder_outside_ascii():
    # Waits for Enter at the end; the path shows as Explorer shows it, in a
    # console whatever its code page.
    return Case(None, b"1 2 3 4 5 and more\n", 0,
                expected_output(TICKET, [], missing=True, echo=""),
                keep_open=True, enter=b"\n", terminal=True, folder="J\u00e1n")


def case_picks_over_several_lines():
    rows = well_formed_rows(5)
    return Case(history(rows), b"1\n2 3\n\n4\n5 text typed on\n\n", 0,
                expected_output(TICKET, rows), stderr=short_note(5))


def case_waits_for_a_fresh_enter():
    # Text after the fifth pick is dropped: the run still waits for Enter.
    rows = well_formed_rows(5)
    return Case(history(rows), b"1 2 3 4 5 and more\n", 0,
                expected_output(TICKET, rows), keep_open=True, enter=b"\n",
                stderr=short_note(5))


def case_line_typed_ahead_ends_the_run():
    # Only the fifth pick's line is dropped; the next line is the Enter.
    rows = well_formed_rows(5)
    return Case(history(rows), b"1 2 3 4 5\nahead\n", 0,
                expected_output(TICKET, rows), keep_open=True,
                stderr=short_note(5))


def case_history_is_a_folder():
    # Opens on Linux but cannot be read: the same as a missing file.
    return Case(DIRECTORY, PICKS, 0,
                expected_output(TICKET, [], missing=True, echo=""))


def case_output_to_a_full_disk():
    return Case(history(well_formed_rows(5)), PICKS, 1, "",
                stderr=short_note(5) + WRITE_ERROR, stdout="full")


def case_output_closed():
    return Case(history(well_formed_rows(5)), PICKS, 1, "",
                stderr=short_note(5) + WRITE_ERROR, stdout="closed")


def case_input_closed():
    # Longer than a block, so that a history read as the picks would show.
    return Case(history(well_formed_rows(2000)), b"", 1, INPUT_ENDED,
                stdin_closed=True)


def history_with_row_end_at(rows, offset):
    """The history of `rows`, its first row padded so that a row ends
    exactly `offset` bytes into the file; returns it and the number of
    rows before that offset."""
    data = history(rows)
    pad = offset - (data.rfind(b"\n", 0, offset) + 1)
    data = data.replace(b";01.01.1999;", b";01.01.1999" + b" " * pad + b";", 1)
    assert data[offset - 1:offset] == b"\n"
    return data, data[:offset].count(b"\n") - 1


def failing_reads(when):
    """Makes the history's reads number `when` fail (strace's syntax: 3 is
    the third read, 3+3 every third from it, 2+ all from the second); keno
    reads a regular file a block at a time, so the failure comes a whole
    number of blocks in. Wine reads for keno.exe as keno does, except that
    it goes on reading a block that came short."""
    return f"read:error=EIO:when={when}"


# Each pass stops after the last byte a failed read left it, as at the end
# of the file; every phase still prints and the error is told once.
def case_read_error_at_the_first_read():
    # The file did open: not a missing file, and the second pass reads it.
    rows = well_formed_rows(5)
    return Case(history(rows), PICKS, 1,
                expected_output(TICKET, [], counted=rows),
                stderr=READ_ERROR, inject=failing_reads(1))


def case_read_error_after_a_short_first_read():
    # The first read gives the whole file, short of a block; every read
    # after it fails, the reopened file's too.
    rows = well_formed_rows(120)
    assert len(history(rows)) < BLOCK
    return Case(history(rows), PICKS, 1,
                expected_output(TICKET, rows, echo="", counted=[]),
                stderr=READ_ERROR, inject=failing_reads("2+"))


def case_read_error_in_both_passes():
    rows = well_formed_rows(6000)
    data, before = history_with_row_end_at(rows, 2 * BLOCK)
    assert before < PLAYS
    return Case(data, PICKS, 1, expected_output(TICKET, rows[:before]),
                stderr=READ_ERROR, inject=failing_reads("3+3"))


def case_read_error_in_the_first_pass_only():
    # The reopen reads the whole file, and the error is still told.
    rows = well_formed_rows(6000)
    data, before = history_with_row_end_at(rows, 2 * BLOCK)
    return Case(data, PICKS, 1,
                expected_output(TICKET, rows[:before], counted=rows),
                stderr=READ_ERROR, inject=failing_reads(3))


def case_read_error_in_the_second_pass():
    rows = well_formed_rows(10000)
    data, before = history_with_row_end_at(rows, 10 * BLOCK)
    played = len(b"\n".join(data.split(b"\n")[:PLAYS + 1])) + 1
    first_pass_reads = -(-played // BLOCK)
    assert first_pass_reads < 10
    return Case(data, PICKS, 1,
                expected_output(TICKET, rows, counted=rows[:before]),
                stderr=READ_ERROR, inject=failing_reads(first_pass_reads + 11))


def case_read_error_at_the_start_of_the_second_pass():
    # One block exactly: read 1 gives the file, read 2 its end, and read 3
    # is the reopened file's first.
    data, before = history_with_row_end_at(well_formed_rows(1000), BLOCK)
    rows = well_formed_rows(before)
    return Case(data[:BLOCK], PICKS, 1,
                expected_output(TICKET, rows, echo="", counted=[]),
                stderr=READ_ERROR, inject=failing_reads(3))


def case_reopen_fails():
    # The file was removed or replaced between the passes.
    rows = well_formed_rows(120)
    return Case(history(rows), PICKS, 1,
                expected_output(TICKET, rows, echo="", counted=[]),
                stderr=READ_ERROR, inject="openat:error=ENOENT:when=2")


def case_history_is_a_named_pipe():
    # Longer than a pipe holds, so that keno reads it in pieces.
    rows = well_formed_rows(2000)
    return Case(history(rows), PICKS, 0, expected_output(TICKET, rows),
                fifo=True, stderr=short_note(2000))


def large_case(data, expected, draws):
    # Waits for Enter at the end, where its peak memory is read.
    return Case(data, b"1 2 3 4 5\n", 0, expected, keep_open=True, enter=b"\n",
                stderr=short_note(draws))


def case_large_one_line_without_separators():
    data = (HEADER + "\n").encode() + b"7" * LARGE + b"\n"
    return large_case(data, expected_output(TICKET, []), 0)


def case_large_header_line():
    rows = well_formed_rows(100)
    header = "H" * LARGE
    return large_case(history(rows, header),
                      expected_output(TICKET, rows, header), len(rows))


def case_large_well_formed_history():
    rows = well_formed_rows(LARGE // 75)
    return large_case(history(rows), expected_output(TICKET, rows), len(rows))


CASES = {name[len("case_"):]: fn for name, fn in globals().items()
         if name.startswith("case_")}


def peak_memory_kb(pid):
    """The process's peak resident memory since it started, or None where
    there is no /proc to read it from (anywhere but Linux)."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except FileNotFoundError:
        return None
    return None


def run_keno(command, folder, case, expected_size, timeout, max_memory_mb):
    """Runs keno on an input that stays open, a pipe or a terminal; returns
    (status, output, standard error, problems).

    Without case.enter keno must end on its own after case.typed. With it,
    keno must still be waiting once its whole output is out; its peak memory
    is read then, and case.enter is typed and a piped input closed.
    """
    problems = []
    terminal = typed_on = None
    if case.terminal:
        import pty  # POSIX only
        terminal, typed_on = pty.openpty()
    with subprocess.Popen(command, cwd=folder,
                          stdin=subprocess.PIPE if typed_on is None else typed_on,
                          stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE) as process, (
            process.stdin if terminal is None
            else os.fdopen(terminal, "wb", buffering=0)) as keys:
        if typed_on is not None:
            os.close(typed_on)
        keys.write(case.typed)
        keys.flush()
        if case.enter is None:
            try:
                # The output is small: it fits the pipe while nobody reads it.
                process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                problems.append(f"still running after {timeout} s")
                process.kill()
            output, errors = process.communicate()
            return process.returncode, output, errors, problems
        output = read_with_timeout(process.stdout, expected_size, timeout)
        if output is None:
            process.kill()
            return (process.wait(), b"", b"",
                    [f"output incomplete after {timeout} s"])
        try:
            process.wait(timeout=STILL_WAITING)
            problems.append("ended without waiting for Enter")
        except subprocess.TimeoutExpired:
            if max_memory_mb:
                peak_kb = peak_memory_kb(process.pid)
                if peak_kb is None:
                    print("peak memory not checked: no /proc on this system")
                elif peak_kb > max_memory_mb * 1024:
                    problems.append(f"peak memory {peak_kb} KB, limit {max_memory_mb} MB")
        try:
            keys.write(case.enter)
            keys.flush()
            if terminal is None:
                keys.close()
        except BrokenPipeError:
            pass
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            problems.append(f"still running after {timeout} s")
        return (process.wait(), output + process.stdout.read(),
                process.stderr.read(), problems)


def read_with_timeout(stream, size, timeout):
    """Reads `size` bytes (fewer at the end), or None when that takes longer."""
    got = []
    reader = threading.Thread(target=lambda: got.append(stream.read(size)),
                              daemon=True)
    reader.start()
    reader.join(timeout)
    return got[0] if got else None


@contextlib.contextmanager
def working_folder(folder):
    """The given folder, left without a history afterwards, or a new one."""
    if folder is None:
        with tempfile.TemporaryDirectory(prefix="keno_e2e_") as made:
            yield made
        return
    try:
        yield folder
    finally:
        path = os.path.join(folder, "keno10.csv")
        if os.path.isdir(path):
            os.rmdir(path)
        elif os.path.exists(path):
            os.chmod(path, 0o644)
            os.remove(path)


def as_root(emulator):
    """True for a native keno that would run as root."""
    return not emulator and hasattr(os, "geteuid") and os.geteuid() == 0


def unprivileged(command, folder):
    """Root may open a read-only file for writing, so a native keno started
    by root runs as nobody, from a copy in the case's folder."""
    setpriv = shutil.which("setpriv")
    os.chmod(folder, 0o755)
    copy = shutil.copy(command[-1], folder)
    return [setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", copy]


def run_once(command, folder, case, timeout, env):
    """Runs keno on case.typed, with standard input or output closed or
    output to /dev/full as the case asks; returns (status, output, errors)."""
    no_input = case.stdin_closed or case.null_input
    closed = [fd for fd, wanted in ((0, case.stdin_closed),
                                    (1, case.stdout == "closed")) if wanted]
    with open(os.devnull if case.stdout != "full" else "/dev/full",
              "wb") as sink:
        result = subprocess.run(
            command, input=None if no_input else case.typed,
            stdin=subprocess.DEVNULL if no_input else None,
            stdout=subprocess.PIPE if case.stdout == "pipe" else sink,
            stderr=subprocess.PIPE, cwd=folder, timeout=timeout, env=env,
            preexec_fn=(lambda: [os.close(fd) for fd in closed]) if closed
            else None)
    return result.returncode, result.stdout or b"", result.stderr


def differs(what, got, expected, encoding="utf-8"):
    got = got.decode(encoding, errors="replace")
    at = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b),
              min(len(got), len(expected)))
    return (f"{what} differs at byte {at}:\n  got      "
            f"{got[max(0, at - 60):at + 60]!r}\n  expected "
            f"{expected[max(0, at - 60):at + 60]!r}")


def full_path(path, windows):
    """The full path keno names for `path`; a Windows keno run by Wine sees
    the root as drive Z:, Wine's default."""
    path = os.path.realpath(path)
    if windows and os.sep == "/":
        return "Z:" + path.replace("/", "\\")
    return path


def in_console(case, windows):
    """True for a case that a Windows keno runs in a console window."""
    return windows and (case.terminal or case.null_input)


def missing_for(case, emulator, windows, console_helper):
    """What this system lacks to run the case, or None."""
    if in_console(case, windows):
        lacking = [tool for tool in ("Xvfb", "xdotool", "import", "wineconsole")
                   if not shutil.which(tool)]
        if not console_helper:
            lacking.append("--console-screen")
        return (f"a console window needs {', '.join(lacking)} (tools/"
                "packages.sh windows installs them)") if lacking else None
    if case.inject and not (sys.platform.startswith("linux")
                            and shutil.which("strace")):
        return "injects its fault with strace, which needs Linux and strace"
    if case.inject and case.inject.startswith("openat") and emulator:
        return "fails an open, which Wine makes in wineserver, out of reach"
    if case.fifo and (emulator or not os.path.isdir("/proc/self/fd")):
        return "serves a named pipe, which needs a native keno and /proc"
    if case.stdout == "full" and not os.path.exists("/dev/full"):
        return "needs /dev/full"
    if (case.stdin_closed or case.stdout == "closed") and os.name != "posix":
        return "closes a descriptor, which needs POSIX"
    if case.terminal and (emulator or os.name != "posix"):
        return ("needs a terminal as the input: a pty, which only a native "
                "POSIX build can be given, or a console for keno.exe")
    if case.read_only and as_root(emulator) and not shutil.which("setpriv"):
        return "runs as root, and without setpriv it cannot run as nobody"
    return None


def fifo_is_open(path):
    """True while some process has the named pipe open."""
    target = os.path.realpath(path)
    for link in glob.glob("/proc/[0-9]*/fd/*"):
        with contextlib.suppress(OSError):
            if os.readlink(link) == target:
                return True
    return False


def serve_fifo(path, data, timeout, passes=2):
    """Writes `data` into the named pipe for each of keno's passes. A pass
    is served only once the last one's reader has closed it, or its data
    would run on into the earlier reader's pipe, or be lost with it."""
    for _ in range(passes):
        deadline = time.monotonic() + timeout
        while fifo_is_open(path) and time.monotonic() < deadline:
            time.sleep(0.01)
        fd = os.open(path, os.O_WRONLY)
        try:
            view = memoryview(data)
            while view:
                view = view[os.write(fd, view):]
        except BrokenPipeError:
            pass
        finally:
            os.close(fd)


@dataclasses.dataclass
class Console:
    helper: str | None  # keno_console_screen.exe
    folder: str  # the shared Wine prefix, the cases' logs and screenshots


def read_screen(path):
    """The screen's lines, as keno_console_screen.exe last saved them,
    down to the last one that is not blank."""
    with contextlib.suppress(OSError), open(path, encoding="utf-8") as f:
        return f.read().rstrip().split("\n")
    return []


def console_screen(case, expected, errors):
    """What the console window shows once keno has ended: the output, the
    path line after the not-opened line, and what was typed echoed after the
    prompt, where Ctrl+D is the console's Ctrl+Z and Enter, shown as ^Z."""
    if expected.startswith(NOT_OPENED):
        expected = NOT_OPENED + errors + expected[len(NOT_OPENED):]
    echo = case.typed.decode().replace("\x04", "^Z\n")
    text = expected.replace(PROMPT, PROMPT + echo, 1)
    return [line.rstrip() for line in text.rstrip().split("\n")]


def run_in_console(name, keno, folder, case, expected, console, timeout):
    """Runs keno.exe in a console window of Wine's on an Xvfb of its own,
    with the shared prefix, booted by the first case, and types case.typed;
    with case.enter keno must still wait, its last line on screen, until
    that is typed. Returns (status, screen, problems); Xvfb and Wine's
    processes end with it. One case at a time uses the prefix."""
    import fcntl  # POSIX only, as Xvfb is
    os.makedirs(console.folder, exist_ok=True)
    shot = os.path.join(console.folder, name)
    screen = os.path.join(folder, "screen.txt")
    prefix = os.path.join(console.folder, "prefix")
    problems = []
    read_end, write_end = os.pipe()
    with open(os.path.join(console.folder, "lock"), "w") as lock, open(
            shot + ".log", "wb") as log, subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp"],
                pass_fds=(write_end,), stdout=log, stderr=log) as xvfb:
        os.close(write_end)
        with os.fdopen(read_end) as f:
            display = f.readline().strip()
        env = dict(os.environ, DISPLAY=f":{display}", WINEPREFIX=prefix,
                   WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")

        def run(*command, timeout=60, **options):
            # Every call has a time limit: xdotool given an empty window id
            # would wait forever.
            return subprocess.run(command, env=env, stdout=subprocess.PIPE,
                                  stderr=log, text=True, timeout=timeout,
                                  **options).stdout

        def shown(line):
            # keno's line on screen, or keno ended.
            deadline = time.monotonic() + timeout
            while (line not in read_screen(screen) and keno_run.poll() is None
                   and time.monotonic() < deadline):
                time.sleep(0.1)

        def type_keys(typed):
            # Ctrl+D, a terminal's end of input, is Ctrl+Z and Enter here.
            run("xdotool", "windowfocus", "--sync", window)
            for part in re.split("([\n\x04])", typed.decode()):
                if part == "\x04":
                    run("xdotool", "key", "ctrl+z", "Return")
                elif part == "\n":
                    run("xdotool", "key", "Return")
                elif part:
                    run("xdotool", "type", "--", part)

        keno_run = None
        try:
            if not display:
                return None, [], ["Xvfb did not start"]
            fcntl.flock(lock, fcntl.LOCK_EX)
            # A wineserver left by a killed case would serve its display.
            run("wineserver", "-k")
            if not os.path.exists(os.path.join(prefix, "booted")):
                shutil.rmtree(prefix, ignore_errors=True)
                run("wineboot", "-i", check=True, timeout=300)
                run("wineserver", "-w", timeout=300)
                open(os.path.join(prefix, "booted"), "w").close()
            command = [full_path(keno, True)]
            if case.null_input:
                command = ["cmd", "/c", *command, "<", "NUL"]
            keno_run = subprocess.Popen(
                ["wineconsole", full_path(console.helper, True), "screen.txt",
                 *command], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                stdout=log, stderr=log)
            if case.typed:
                window = (run("xdotool", "search", "--sync", "--onlyvisible",
                              "--name", "keno_console_screen").split()
                          or [""])[0]
                if not window:
                    problems.append("no console window appeared")
                else:
                    shown(PROMPT)
                    type_keys(case.typed)
            if case.enter and not problems:
                shown(expected[-1])
                time.sleep(STILL_WAITING)
                run("import", "-window", "root", shot + ".waiting.png")
                if keno_run.poll() is not None:
                    problems.append("ended without waiting for Enter")
                else:
                    if expected[-1] not in read_screen(screen):
                        problems.append("waits without its last line shown")
                    type_keys(case.enter)
            try:
                keno_run.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                problems.append(f"still running after {timeout} s")
        except (subprocess.SubprocessError, OSError) as error:
            problems.append(f"the console could not be driven: {error}")
        finally:
            with contextlib.suppress(subprocess.SubprocessError, OSError):
                run("import", "-window", "root", shot + ".png")
            if keno_run:
                keno_run.kill()
                keno_run.wait()
            with contextlib.suppress(subprocess.SubprocessError, OSError):
                run("wineserver", "-k")
            xvfb.kill()
    print(f"{name}: the console window is shot in {shot}.png (and "
          f"{shot}.waiting.png while keno waits), its log is {shot}.log")
    status = keno_run.returncode if keno_run else -1
    return status, read_screen(screen), problems


def run_case(name, keno, emulator, timeout, max_memory_mb, folder=None,
             console=None):
    """Runs a case with keno10.csv in `folder` (a new one when None), or
    in case.folder made in it. Returns True when it passes, False when it
    fails, SKIPPED when this system cannot run it."""
    case = CASES[name]()
    windows = keno.lower().endswith(".exe")
    missing = missing_for(case, emulator, windows, console and console.helper)
    if missing:
        print(f"{name}: skipped: {missing}")
        return SKIPPED
    problems = []
    env = dict(os.environ)
    if case.inject:
        # LeakSanitizer cannot work under ptrace.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [
            env.get("ASAN_OPTIONS"), "detect_leaks=0"]))
    with working_folder(folder) as top:
        folder = top
        if case.folder:
            folder = os.path.join(top, case.folder)
            os.mkdir(folder)
        path = os.path.join(folder, "keno10.csv")
        expected, expected_errors = case.expected, case.stderr
        # A history keno cannot open is named with its full path.
        if expected.startswith(NOT_OPENED):
            expected_errors = (LOOKED_FOR + full_path(path, windows) + "\n"
                               + expected_errors)
        if in_console(case, windows):
            screen = console_screen(case, expected, expected_errors)
        if windows:
            expected = expected.replace("\n", "\r\n")
            expected_errors = expected_errors.replace("\n", "\r\n")
        if case.history == DIRECTORY:
            os.mkdir(path)
        elif case.fifo:
            os.mkfifo(path)
            threading.Thread(target=serve_fifo,
                             args=(path, case.history, timeout),
                             daemon=True).start()
        elif case.history is not None:
            with open(path, "wb") as f:
                f.write(case.history)
            if case.read_only:
                os.chmod(path, 0o444)
        command = emulator + [os.path.abspath(keno)]
        if case.read_only and as_root(emulator):
            command = unprivileged(command, folder)
        if case.inject:
            # -P: only the history's calls count and fail, however keno
            # makes them, static binaries too.
            command = ["strace", "-f", "-o", os.devnull, "-P", "keno10.csv",
                       "-e", "inject=" + case.inject] + command
        if in_console(case, windows):
            returncode, shown, problems = run_in_console(
                name, keno, folder, case, screen, console, timeout)
            if returncode is None:
                print(f"{name}: skipped: {problems[0]}")
                return SKIPPED
            # Output and standard error both show on the screen.
            output = "\n".join(shown).encode(OUTPUT_ENCODING, errors="replace")
            errors = b""
            expected, expected_errors = "\n".join(screen), ""
        elif case.keep_open:
            returncode, output, errors, more = run_keno(
                command, folder, case, len(expected.encode(OUTPUT_ENCODING)),
                timeout, max_memory_mb)
            problems += more
        else:
            returncode, output, errors = run_once(command, folder, case,
                                                  timeout, env)
    # Wine's and strace's own notes (a prefix made, a path resolved) are
    # not keno's.
    errors = b"".join(line for line in errors.splitlines(keepends=True)
                      if not line.startswith((b"wine: ", b"strace: ")))
    if returncode != case.status:
        problems.append(f"exit status {returncode}, expected {case.status}")
    if output != expected.encode(OUTPUT_ENCODING):
        problems.append(differs("output", output, expected, OUTPUT_ENCODING))
    if errors != expected_errors.encode():
        problems.append(differs("standard error", errors, expected_errors))
    for p in problems:
        print(f"{name}: {p}")
    return not problems


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
                        help="fail when keno's peak memory is higher, as "
                        "Linux measures it while keno waits for Enter")
    args = parser.parse_args()
    if args.list:
        print("\n".join(CASES))
        return 0
    if not args.keno:
        parser.error("--keno is required")
    names = args.case or list(CASES)
    console = Console(args.console_screen, os.path.abspath(args.console_dir))
    results = [run_case(n, args.keno, shlex.split(args.emulator),
                        args.timeout, args.max_memory_mb, console=console)
               for n in names]
    if False in results:
        return 1
    return SKIP_STATUS if all(r == SKIPPED for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
