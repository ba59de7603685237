#!/usr/bin/env python3
"""Writes a synthetic Keno draw history in the format keno reads.

Every row is a draw: its number, its date, its weekday, then 20 distinct
numbers from 1 to 80 in drawing order. The dates are spread evenly over
1999 to 2012. The same seed and row count always give the same bytes,
on any Python 3 (only random.Random.random() is used, whose sequence is
stable across versions).
"""
import argparse
import datetime
import random
import sys

HEADER = "Tah;Datum;Den;" + ";".join(f"C{i}" for i in range(1, 21))
WEEKDAYS = ["pondelok", "utorok", "streda", "stvrtok", "piatok", "sobota",
            "nedela"]
FIRST_DAY = datetime.date(1999, 1, 1)
DAYS = (datetime.date(2012, 12, 31) - FIRST_DAY).days + 1


def rows(count, seed):
    rng = random.Random(seed)
    pool = list(range(1, 81))
    for i in range(count):
        day = FIRST_DAY + datetime.timedelta(days=i * DAYS // max(count, 1))
        # A partial Fisher-Yates shuffle: the first 20 places are the draw.
        for j in range(20):
            k = j + int(rng.random() * (80 - j))
            pool[j], pool[k] = pool[k], pool[j]
        numbers = ";".join(map(str, pool[:20]))
        yield (f"{i + 1};{day.strftime('%d.%m.%Y')};"
               f"{WEEKDAYS[day.weekday()]};{numbers}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rows", type=int, default=5100,
                        help="number of draws (default 5100)")
    parser.add_argument("--seed", type=int, default=1999,
                        help="random seed (default 1999)")
    parser.add_argument("--crlf", action="store_true",
                        help="end lines with CR LF instead of LF")
    parser.add_argument("output", nargs="?", help="file to write (default: "
                        "standard output)")
    args = parser.parse_args()
    end = "\r\n" if args.crlf else "\n"
    out = (open(args.output, "w", newline="", encoding="ascii")
           if args.output else sys.stdout)
    with out:
        out.write(HEADER + end)
        for row in rows(args.rows, args.seed):
            out.write(row + end)


if __name__ == "__main__":
    main()
