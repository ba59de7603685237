"""A model of keno: the histories the cases give it and what it prints."""
import os
import struct
from collections import Counter

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PLAYS = 4876
PAYOUT = [0, 0, 0, 1, 8, 100]
HEADER = "Tah;Datum;Den;" + ";".join(f"C{i}" for i in range(1, 21))
PROMPT = "Zadajte 5 typovanych cisel:"
INVALID = "Neplatne cislo, zadajte ho znova:"
INPUT_ENDED = ("Keno - analyza historie zrebovani\n" + PROMPT + "\n"
               "Vstup sa skoncil pred zadanim 5 cisel.\n")
READ_ERROR = "Chyba pri citani suboru keno10.csv.\n"
NOT_OPENED = "Subor sa neda otvorit.\n"
LOOKED_FOR = "Hladany subor: "  # then the full path of keno10.csv
WRITE_ERROR = "Chyba pri zapise vystupu.\n"
# keno writes bytes, echoed from the history: one character a byte.
OUTPUT_ENCODING = "latin-1"
# Among its wins on well_formed_rows: draw 1 (4 hits), 4 (5), 12 (3), 4876 (3).
TICKET = [40, 43, 55, 58, 79]
# Seconds a keno that waits for Enter must still be running, its output out.
STILL_WAITING = 2


def short_note(draws):
    """What keno tells on standard error after a history of `draws` draws,
    fewer than the plays: nothing once there are enough."""
    return "" if draws >= PLAYS else (
        f"Upozornenie: subor keno10.csv ma len {draws} tahov; zvysnych "
        f"{PLAYS - draws} hier sa hralo bez tahu.\n")


def draws(rows):
    """The rows that hold a number keno can draw."""
    return sum(any(1 <= n <= 80 for n in row) for row in rows)


def f32(x):
    """Rounds a double to single precision, as the program stores amounts."""
    return struct.unpack("f", struct.pack("f", x))[0]


def g(x):
    """The stream's default formatting of a float."""
    return "%g" % x


def well_formed_rows(count):
    """Deterministic rows of 20 distinct numbers that cover all of 1 to 80."""
    return [[(7 * r + 3 * k) % 80 + 1 for k in range(20)]
            for r in range(count)]


def rows_over(size):
    """Rows whose history is longer than `size` bytes, 60 or more a row."""
    return well_formed_rows(size // 60 + 1)


def history(rows, header=HEADER, end="\n", wide=0):
    """The history file of `rows`, each date field `wide` blanks wider."""
    date = "01.01.1999" + " " * wide
    return (header + end + "".join(
        f"{i + 1};{date};piatok;" + ";".join(map(str, r)) + end
        for i, r in enumerate(rows))).encode()


def expected_output(picks, rows, header=HEADER, missing=False, counted=None):
    """What a run prints for a ticket on a history of well-formed rows.

    rows are the numbers the program reads; the play loop reads the first
    4876 and then zero rows, the frequency pass reads them all, or the rows
    `counted` when it reads other ones.
    """
    stake = win = 0.0
    wins = 0
    for r in range(PLAYS):
        drawn = rows[r] if r < len(rows) else [0] * 20
        hits = sum(drawn.count(p) for p in picks)
        stake = f32(stake + 0.5)
        pay = PAYOUT[hits] if hits < len(PAYOUT) else 0
        win = f32(win + pay)
        wins += pay > 0
    times = Counter(n for row in (rows if counted is None else counted)
                    for n in row)
    counts = [0] + [times[n] for n in range(1, 81)]
    lines = ([NOT_OPENED.rstrip("\n")] if missing else []) + [
        "Keno - analyza historie zrebovani",
        PROMPT + "Typovane:" + "".join(f"{p}," for p in picks),
        "",
        "",
        "Vklad:" + g(stake),
        "Vyhra:" + g(win),
        "Cista vyhra(vyhra-vklad):" + g(f32(win - stake)),
        f"Vkladov:{PLAYS}",
        f"Vyhier:{wins}",
        f"Tahov:{PLAYS}",
        "Uspesnost(vyhra/vklad): " + g(f32(win / stake * 100)) + "%",
        "Uspesnost2(vyhier/vkladov): " + g(f32(f32(wins / PLAYS) * 100)) + "%",
        # The header is echoed as text, which ends at its first NUL byte.
        header[:127].split("\0")[0] + "loooooooooool",
        "Najviac padane cisla od roku 1999 po rok 2012: ",
        "Frekvncia: ",
        "".join(f"[{n}] {c}," for n, c in enumerate(counts)),
    ]
    return "\n".join(lines) + "\n"


def full_path(path, windows):
    """The full path keno names for `path`; a Windows keno run by Wine sees
    the root as drive Z:, Wine's default."""
    path = os.path.realpath(path)
    if windows and os.sep == "/":
        return "Z:" + path.replace("/", "\\")
    return path


def sample_rows():
    """The bundled sample: its bytes, its header and its rows."""
    with open(os.path.join(ROOT, "data", "keno10.csv"), "rb") as f:
        data = f.read()
    lines = data.decode().split("\n")
    rows = [list(map(int, line.split(";")[3:])) for line in lines[1:] if line]
    return data, lines[0], rows
