#!/usr/bin/env python3
"""The CSV tables of the summary sample as a spreadsheet reads them: check_csv.py FOLDER

summary.csv holds one row per workstation row of the page, all-reports.csv one per report; both
open in Python's csv module as RFC 4180 with a UTF-8 byte order mark, and a field that a
spreadsheet would run as a formula stays text.
"""
import csv
import io
import sys

CHECKS = 16
HEADING = ["Computer", "User", "Program", "State", "Level", "Time", "FAILED"]


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    problems = []
    if not data.startswith(b"\xef\xbb\xbf"):
        problems.append("no UTF-8 byte order mark")
    if data.replace(b"\r\n", b"").count(b"\n") or not data.endswith(b"\r\n"):
        problems.append("a row that does not end in CR LF")
    text = data.decode("utf-8-sig")
    rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    return rows, problems


def main():
    folder = sys.argv[1]
    failures = []
    rows, problems = read(folder + "/summary.csv")
    failures += problems
    heading, body = rows[0], rows[1:]
    if heading[:7] != HEADING or heading[-2:] != ["Likely causes", "File"]:
        failures.append("heading %r" % heading)
    if len(heading) != 7 + CHECKS + 2:
        failures.append("%d columns" % len(heading))
    for row in body:
        if len(row) != len(heading):
            failures.append("a row of %d fields: %r" % (len(row), row))
    # The page's seven rows, in the page's order.
    computers = [row[0] for row in body]
    expected = ["WS-105", "WS-102", "Vorlix Report.txt", "WS-103", "WS-104", "WS-\"106\", 2nd floor",
                "WS-101"]
    if sorted(computers) != sorted(expected) or computers[:5] != expected[:5]:
        failures.append("rows %r" % computers)
    by_computer = {row[0]: dict(zip(heading, row)) for row in body}
    formula = by_computer.get("WS-\"106\", 2nd floor", {})
    if formula.get("User") != "'=1+1":
        failures.append("the user =1+1 read as %r" % formula.get("User"))
    if by_computer.get("WS-102", {}).get("User") != "d\u00f6rte":
        failures.append("a name that is not ASCII: %r" % by_computer.get("WS-102", {}).get("User"))
    failing = by_computer.get("WS-102", {})
    if failing.get("FAILED") != "5" or failing.get("Likely causes", "") == "":
        failures.append("WS-102: %r" % failing)
    if not failing.get("State", "").startswith("failing since 2026-12-05"):
        failures.append("WS-102's state %r" % failing.get("State"))
    if by_computer.get("WS-101", {}).get("Likely causes") != "":
        failures.append("a passing row with a cause")
    states = {cell for row in body for cell in row[7:7 + CHECKS]}
    if states != {"passed", "FAILED", "absent"}:
        failures.append("check states %r" % states)
    for row in body:
        for cell in row:
            if cell[:1] in ("=", "+", "-", "@", "\t", "\r"):
                failures.append("a field a spreadsheet runs: %r" % cell)

    rows, problems = read(folder + "/all-reports.csv")
    failures += problems
    # 20 text reports (twins once), the JSON form of WS-"106" and the one saved from the window.
    if len(rows) - 1 != 22:
        failures.append("all-reports.csv: %d rows" % (len(rows) - 1))

    for failure in failures:
        print("FAILED: " + failure, file=sys.stderr)
    if not failures:
        print("CSV tables: %d and %d rows as expected" % (len(body), len(rows) - 1))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
