"""The end-to-end cases: the table CASES at the end names each and makes
it, what keno is given and what it must print."""
import dataclasses

from faults import Fault, block
from model import (HEADER, INPUT_ENDED, INVALID, OUTPUT_ENCODING, PLAYS,
                   READ_ERROR, TICKET, WRITE_ERROR, draws,
                   expected_output, history, rows_over, sample_rows,
                   short_note, well_formed_rows)

DIRECTORY = "directory"  # as a Case's history: a folder named keno10.csv
# How a case runs keno, by name: its input (a pipe closed after what is
# typed, one kept open, a pty, the null device or none), its output (a
# pipe, /dev/full or none), and the Enter typed once its whole output is
# out, for which keno must still wait, or None when it must end on its own.
# A terminal is a pty, or a console window for keno.exe, which shows the
# output too.
RUNS = {"pipe": ("pipe", "pipe", None), "waits": ("open", "pipe", b"\n"),
        "typed_ahead": ("open", "pipe", None),
        "terminal": ("terminal", "pipe", b"\n"),
        "null_input": ("null", "pipe", None),
        "input_closed": ("closed", "pipe", None),
        "output_full": ("pipe", "full", None),
        "output_closed": ("pipe", "closed", None)}
# Size of the large histories: memory must not grow with a line or a field.
LARGE = 20 * 1000 * 1000


@dataclasses.dataclass
class Case:
    history: bytes | str | None  # None: no history file at all
    typed: bytes
    status: int
    expected: str  # all that keno writes to standard output
    stderr: str = ""  # all that keno writes to standard error
    run: str = "pipe"  # one of RUNS
    folder: str | None = None  # keno runs in this subfolder of the case's
    read_only: bool = False
    fifo: bool = False  # the history is a named pipe, written for each pass
    inject: Fault | None = None  # a call on the history that fails


def build(name):
    """The case `name`, refused whole when a runner would ignore part of it."""
    case = CASES[name]()
    for refused, why in [
            (case.run not in RUNS, f"run is none of {', '.join(RUNS)}"),
            (case.typed and case.run in ("null_input", "input_closed"),
             "text typed on an input that takes none"),
            ((case.fifo or case.read_only) and not isinstance(case.history,
                                                              bytes),
             "a named pipe or a read-only file without a history's bytes"),
            (case.inject and case.run in ("terminal", "null_input"),
             "a fault injected into what may be a console window"),
            (case.stderr and case.run in ("terminal", "null_input"),
             "standard error that a console window would show unchecked")]:
        if refused:
            raise SystemExit(f"case {name}: {why}")
    return case


def played(data, rows, ticket=TICKET, header=HEADER, counted=None, **how):
    """A run of `ticket` on the history `data`, whose rows read as `rows`,
    to its end; no file or a folder is a history that cannot be opened."""
    missing = data is None or data == DIRECTORY
    counted = rows if counted is None else counted
    how.setdefault("typed", " ".join(map(str, ticket)).encode() + b"\n\n")
    how.setdefault("stderr", "" if missing else short_note(draws(counted)))
    how.setdefault("status", 0)
    return Case(data, expected=expected_output(
        ticket, rows, "" if missing else header, missing, counted), **how)


def well_formed(count, ticket=TICKET, header=HEADER, end="\n", blank=0,
                **how):
    """A run to its end on `count` well-formed rows, `blank` blank lines."""
    rows = well_formed_rows(count)
    data = history(rows, header, end) + (end * blank).encode()
    return played(data, rows, ticket, header, **how)


def sample_run():
    data, header, rows = sample_rows()
    return played(data, rows, [72, 3, 60, 17, 25], header)


def utf16_history():
    # As a Windows editor saves "Unicode" text: every row reads as zeros,
    # and the echo is the byte order mark and the first letter.
    rows = well_formed_rows(5)
    data = ("\ufeff" + history(rows, end="\r\n").decode()).encode("utf-16-le")
    header = data.split(b"\n")[0].decode(OUTPUT_ENCODING)
    case = played(data, [[0] * 20] * len(rows), header=header)
    assert "\n\xff\xfeTloooooooooool\n" in case.expected
    return case


def known_hits():
    # Draw r + 1 holds 7r + 1, 7r + 4, ... 7r + 58 taken into 1 to 80: TICKET
    # hits 4 on draws 1 and 7, 5 on draw 4, 3 on draw 12, at most 1 elsewhere.
    case = well_formed(12)
    # The model agrees with totals worked out by hand.
    assert "Vyhra:117\nCista vyhra(vyhra-vklad):-2321\n" in case.expected
    assert "Vyhier:4\n" in case.expected
    assert "Uspesnost(vyhra/vklad): 4.79902%\n" in case.expected
    assert "Uspesnost2(vyhier/vkladov): 0.0820345%\n" in case.expected
    return case


def bad_picks():
    # Each bad token is skipped alone; each line that held one asks again.
    case = well_formed(5, typed=b"40 abc 43\n55 - \n99999999999\n58,79\n\n")
    case.expected = case.expected.replace("cisel:Typovane",
                                          "cisel:" + INVALID * 3 + "Typovane")
    return case


def read_error(data, rows, counted, fault, header=HEADER):
    """A run whose history's calls fail as `fault` says: each pass ends
    where a failed read left it (the plays read `rows`, the frequency pass
    `counted`), every phase still prints and the error is told once."""
    return played(data, rows, header=header, counted=counted, status=1,
                  stderr=READ_ERROR, inject=fault)


def row_ending_at(blocks, rows, plays_over=0):
    """The history of `rows`, the first padded so that a row ends `blocks`
    blocks in, and the rows before that; `plays_over` widens every row so
    that the played ones take that many blocks, and that row is played."""
    offset = blocks * block()
    data = history(rows, wide=max(0, plays_over * block() // PLAYS - 60))
    pad = offset - (data.rfind(b"\n", 0, offset) + 1)
    data = data.replace(b";01.01.1999", b";01.01.1999" + b" " * pad, 1)
    before = data[:offset].count(b"\n") - 1
    assert data[offset - 1:offset] == b"\n" and (before < PLAYS
                                                 or not plays_over)
    return data, before


def short_file_fails(**fault):
    """`fault`, at the end of the file unless it says where, on a history
    that the first read gives whole, short of a block: the plays read it
    all, and the second pass nothing."""
    rows = well_formed_rows(120)
    while len(history(rows)) >= block():
        rows.pop()
    data = history(rows)
    return read_error(data, rows, [], Fault(**{"at": len(data), **fault}),
                      header="")


def cut_in_the_plays(passes):
    """Read errors in `passes` at a row ending two blocks in, among the
    played ones, on 6000 rows."""
    rows = well_formed_rows(6000)
    data, before = row_ending_at(2, rows, plays_over=3)
    return read_error(data, rows[:before],
                      rows[:before] if 2 in passes else rows,
                      Fault(2 * block(), passes))


def read_error_in_the_second_pass():
    # Cut some blocks past the played rows, however wide one row is padded.
    cut = -(-len(history(well_formed_rows(PLAYS))) // block()) + 2
    rows = rows_over((cut + 1) * block())
    data, before = row_ending_at(cut, rows)
    return read_error(data, rows, rows[:before],
                      Fault(cut * block(), passes=(2,)))


def read_error_at_the_start_of_the_second_pass():
    # One block exactly, of fewer rows than the plays: the first pass reads
    # it to its end, and the reopened file's first read fails.
    data, before = row_ending_at(1, well_formed_rows(PLAYS), plays_over=2)
    return read_error(data[:block()], well_formed_rows(before), [],
                      Fault(passes=(2,)), header="")


# Waits for Enter at the end, where its peak memory is read.
WAITS = {"typed": b"40 43 55 58 79\n", "run": "waits"}
FIVE_ROWS = history(well_formed_rows(5))
WRITE_FAILS = (FIVE_ROWS, b"1 2 3 4 5\n\n", 1, "", short_note(5) + WRITE_ERROR)

CASES = {
    "sample_run": sample_run,
    "missing_file": lambda: played(None, []),
    "empty_file": lambda: played(b"", [], header=""),
    # Nothing is written to the history, so a read-only one is fine.
    "read_only_history": lambda: well_formed(5, read_only=True),
    # Played on 100 draws and 4776 empty ones; the report counts them all.
    # The blank last line is no draw.
    "short_history": lambda: well_formed(100, blank=1),
    # A blank last line makes no draw that would hide the note.
    "one_draw_short_with_crlf": lambda: well_formed(PLAYS - 1, end="\r\n",
                                                    blank=1),
    "header_alone": lambda: well_formed(0),
    # Blank lines after the draws change nothing: there is no note.
    "exactly_4876_rows": lambda: well_formed(PLAYS, [52, 55, 58, 76, 79],
                                             blank=3),
    "more_rows_than_plays": lambda: well_formed(6000, [52, 55, 58, 76, 79]),
    "crlf_history": lambda: well_formed(30, end="\r\n",
                                        typed=b"40 43 55 58 79\r\n\r\n"),
    # Only the carriage return right before the line feed goes, whichever
    # platform reads the file.
    "cr_cr_lf_keeps_one_cr": lambda: well_formed(3, header="Tah;Datum\r",
                                                 end="\r\n"),
    "nul_in_the_header": lambda: well_formed(5, header="Tah\0" + HEADER[4:]),
    "utf16_history": utf16_history,
    # A spreadsheet's "CSV" with "," between the fields: a row's first field
    # runs to the end of the file, so no row is a draw.
    "comma_separated_history": lambda: played(
        history(well_formed_rows(5100)).replace(b";", b","), [],
        header=HEADER.replace(";", ",")),
    "long_header": lambda: well_formed(30, header="H" * 100 + ";" + "x" * 200),
    # The cut field counts once; the row's missing fields read 0.
    "cut_inside_a_row": lambda: played(
        history(well_formed_rows(20)) + b"21;01.01.1999;piatok;45;4",
        well_formed_rows(20) + [[45, 4] + [0] * 18], [45, 4, 1, 2, 3]),
    "known_hits": known_hits,
    "bad_picks": bad_picks,
    # From a pipe, whose end is final: keno says so and ends with status 1.
    "input_ends_early": lambda: Case(FIVE_ROWS, b"1 2\n", 1, INPUT_ENDED),
    # Ctrl+D ends a terminal's input, but the terminal can still give the
    # Enter that keno then waits for.
    "input_ends_at_a_terminal": lambda: Case(
        FIVE_ROWS, b"1 2\n\x04", 1, INPUT_ENDED, run="terminal"),
    # A character device, but no terminal or console: it ends at once.
    "input_on_the_null_device": lambda: Case(FIVE_ROWS, b"", 1, INPUT_ENDED,
                                             run="null_input"),
    # Waits for Enter at the end; a letter of the path that Windows' code
    # page holds shows right in a console of another code page.
    "terminal_run_in_a_folder_outside_ascii": lambda: played(
        None, [], typed=b"40 43 55 58 79 and more\n", run="terminal",
        folder="J\u00e1n"),
    "picks_over_several_lines": lambda: well_formed(
        5, typed=b"40\n43\t 55\n\n58,  79 text typed on\n\n"),
    # Text after the fifth pick is dropped: the run still waits for Enter.
    "waits_for_a_fresh_enter": lambda: well_formed(
        5, typed=b"40 43 55 58 79 and more\n", run="waits"),
    # Only the fifth pick's line is dropped; the next line is the Enter.
    "line_typed_ahead_ends_the_run": lambda: well_formed(
        5, typed=b"40 43 55 58 79\nahead\n", run="typed_ahead"),
    # Opens on Linux but cannot be read: the same as a missing file.
    "history_is_a_folder": lambda: played(DIRECTORY, []),
    "output_to_a_full_disk": lambda: Case(*WRITE_FAILS, run="output_full"),
    "output_closed": lambda: Case(*WRITE_FAILS, run="output_closed"),
    # Over any block under the 16 MB limit: read as the picks, it shows.
    "input_closed": lambda: Case(history(rows_over(LARGE)), b"", 1,
                                 INPUT_ENDED, run="input_closed"),
    # The file did open: not a missing file, and the second pass reads it.
    "read_error_at_the_first_read": lambda: read_error(
        FIVE_ROWS, [], well_formed_rows(5), Fault()),
    # Every read after the first fails, the reopened file's too.
    "read_error_after_a_short_first_read": lambda: short_file_fails(
        onwards=True),
    "read_error_in_both_passes": lambda: cut_in_the_plays((1, 2)),
    # The reopen reads the whole file, and the error is still told.
    "read_error_in_the_first_pass_only": lambda: cut_in_the_plays((1,)),
    "read_error_in_the_second_pass": read_error_in_the_second_pass,
    "read_error_at_the_start_of_the_second_pass":
        read_error_at_the_start_of_the_second_pass,
    # The file was removed or replaced between the passes.
    "reopen_fails": lambda: short_file_fails(
        at=0, passes=(2,), call="openat", error="ENOENT"),
    # Longer than a pipe holds, so that keno reads it in pieces.
    "history_is_a_named_pipe": lambda: well_formed(2000, fifo=True),
    "large_one_line_without_separators": lambda: played(
        (HEADER + "\n").encode() + b"7" * LARGE + b"\n", [], **WAITS),
    "large_header_line": lambda: well_formed(100, header="H" * LARGE, **WAITS),
    "large_well_formed_history": lambda: well_formed(LARGE // 75, **WAITS),
}
