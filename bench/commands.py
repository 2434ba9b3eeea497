#!/usr/bin/env python3
"""Whole-process figures of tarvelo-cli against standard tools on the same file.

Usage: commands.py TARVELO_CLI SCRATCH_FOLDER
Prints one line per figure: the ratio against the peer tool and the target.
"""
import os
import statistics
import subprocess
import sys
import time

RUNS = 5
PAGE_BYTES = 50 << 20


def make_page(path):
    """A quotation page of about 50 MB of table rows, the wanted value near its end."""
    row = ('<tr class="row"><td class="name"><a href="/q?s={0}">Fund number {0}</a></td>'
           '<td align="right">{1},{2:02d}</td><td>EUR</td><td><img src="up.gif"></td></tr>\n')
    with open(path, "w", encoding="ascii") as f:
        written = 0
        n = 0
        while written < PAGE_BYTES - 200:
            text = row.format(n, n % 997, n % 89)
            f.write(text)
            written += len(text)
            n += 1
        f.write("<p>Last Trade: <b>22,65</b> EUR</p>\n</body></html>\n")


JSON_BYTES = 1 << 20


def make_json_page(path):
    """An API answer of about 1 MB: many quotes, the wanted one last; every row's
    "change" is one of a few values, so that typing one finds hundreds of paths."""
    rows = []
    written = 0
    n = 0
    while written < JSON_BYTES - 300:
        text = ('{{"symbol": "S{0}", "name": "Fund Number {0}", "last": {1}.{2:02d}, "change": {3}.{4}, '
                '"time": 1773509700000}},\n').format(n, n % 997, n % 89, n % 7, n % 5)
        rows.append(text)
        written += len(text)
        n += 1
    with open(path, "w", encoding="ascii") as f:
        f.write('{"status": "ok", "quotes": [' + "".join(rows)
                + '{"symbol": "NWE", "name": "Nordwest", "last": 1234.56, "time": 1773509700000}]}')


def run_once(command, expect_output=None):
    started = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - started
    if expect_output is not None and expect_output not in result.stdout:
        raise SystemExit(f"unexpected output of {command[0]}: {result.stdout[:200]!r} {result.stderr[:200]!r}")
    return elapsed


def compare(ours, peer, expect_output):
    """Median seconds of both commands, run in turns after one warm-up run each."""
    run_once(ours, expect_output)
    run_once(peer)
    mine, theirs = [], []
    for _ in range(RUNS):
        mine.append(run_once(ours, expect_output))
        theirs.append(run_once(peer))
    return statistics.median(mine), statistics.median(theirs)


def main():
    cli, folder = sys.argv[1], sys.argv[2]
    page = os.path.join(folder, "page.html")
    make_page(page)
    os.sync()  # the new file's write-back must not fall into either side's time
    try:
        ours, sed = compare([cli, "extract", page, "--conversion", "2", "--text", "Last Trade:"],
                            ["sh", "-c", f"sed -E 's/<[^>]*>/ /g' '{page}' >/dev/null"],
                            b'"code":0,"value":22.65')
        ratio = sed / ours
        mark = "" if ratio >= 5 else "  MISSED"
        print(f"extract --conversion 2 (whole process, 50 MB): {ratio:.2f}x faster than sed "
              f"(target >= 5){mark}   [{ours * 1e3:.0f} ms vs {sed * 1e3:.0f} ms]")

        expression = "Last Trade:[^0-9]*([0-9]+)"
        ours, grep = compare([cli, "extract", page, "--regexp", expression],
                             ["sh", "-c", f"pcre2grep '{expression}' '{page}' >/dev/null"],
                             b'"code":0,"value":22.65')
        ratio = ours / grep
        mark = "" if ratio <= 1.5 else "  MISSED"
        print(f"extract --regexp (whole process, 50 MB): {ratio:.2f}x pcre2grep "
              f"(target <= 1.5){mark}   [{ours * 1e3:.0f} ms vs {grep * 1e3:.0f} ms]")

        # The wizard's proposals on an API answer, against Python's json module reading it.
        json_page = os.path.join(folder, "answer.json")
        make_json_page(json_page)
        os.sync()
        peer = [sys.executable, "-c", "import json, sys; json.load(open(sys.argv[1]))", json_page]
        for typed, what, expected in (("1234.56", "the value last", b'"json":"$.quotes[-1].last"'),
                                      ("1.1", "a value in hundreds of rows", b'"json":"$.quotes[1].change"')):
            ours, python = compare([cli, "suggest", json_page, typed], peer, expected)
            mark = "" if ours < 1.0 else "  MISSED"
            print(f"suggest on a 1 MB JSON page, {what} (whole process): {ours * 1e3:.0f} ms (target < 1000 ms), "
                  f"{ours / python:.2f}x python3 json.load{mark}   [{python * 1e3:.0f} ms]")
        os.remove(json_page)
    finally:
        os.remove(page)


if __name__ == "__main__":
    main()
