#!/usr/bin/env python3
"""Reads back every file make_calc_fixtures.sh had Calc write and compares
its cells with the log calc_log.py made, so that a Calc that writes
something else (another date form, rounded numbers, a lost line break) is
noticed when the fixtures are made, not when a test fails. Prints the
log's counts per sheath size for checking the tables by hand.

    check_calc_fixtures.py FOLDER
"""
import csv
import datetime
import io
import os
import sys
from decimal import Decimal, ROUND_HALF_UP

import openpyxl
from odf import opendocument, table, text
from odf.namespaces import OFFICENS, TABLENS

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import calc_log  # noqa: E402

CASES = calc_log.make_cases()
HEADER = calc_log.HEADER
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def rounded(value, places):
    """What a cell format of PLACES decimals shows: half away from zero on
    the decimal value typed, as Calc rounds (1.995 shows as 2.00)."""
    quantum = Decimal(1).scaleb(-places)
    return str(Decimal(value).quantize(quantum, rounding=ROUND_HALF_UP))


def expected_csv_row(case, mark, logical, date_format, places=None):
    diameters = [d if places is None else rounded(d, places) for d in case["diameters"]]
    return ([case["date"].strftime(date_format), case["patient"]]
            + [d.replace(".", mark) for d in diameters]
            + [case["sheath"], case["stricture"], logical[case["placed"]], case["note"]])


def check_csv(folder, name, encoding, delimiter, mark, logical, date_format="%d.%m.%Y",
              places=None, title_rows=0):
    with open(os.path.join(folder, name), "rb") as f:
        data = f.read()
    check(b"\r" not in data, f"{name}: CR in a file written on Linux")
    records = list(csv.reader(io.StringIO(data.decode(encoding), newline=""), delimiter=delimiter))
    check(len(records) == title_rows + 1 + len(CASES), f"{name}: {len(records)} records")
    header = records[title_rows]
    check(header == HEADER, f"{name}: header {header}")
    for number, (record, case) in enumerate(zip(records[title_rows + 1:], CASES), start=2):
        wanted = expected_csv_row(case, mark, logical, date_format, places)
        check(record == wanted, f"{name}: record {number}: {record} != {wanted}")


def check_xlsx(path, sheets):
    book = openpyxl.load_workbook(path)
    check(book.sheetnames == [s for s, _ in sheets], f"{path}: sheets {book.sheetnames}")
    for name, cases in sheets:
        if cases is None:
            continue
        rows = list(book[name].iter_rows(values_only=True))
        start = next(i for i, row in enumerate(rows) if row and row[0] == HEADER[0])
        check(list(rows[start]) == HEADER, f"{path} {name}: header {rows[start]}")
        check(len(rows) - start - 1 == len(cases), f"{path} {name}: {len(rows) - start - 1} rows")
        for row, case in zip(rows[start + 1:], cases):
            check(row[0] == datetime.datetime.combine(case["date"], datetime.time()), f"{path}: date {row[0]}")
            check([Decimal(repr(v)) for v in row[2:5]] == [Decimal(d) for d in case["diameters"]],
                  f"{path}: diameters {row[2:5]} != {case['diameters']}")
            check(row[7] is case["placed"], f"{path}: logical cell {row[7]!r}")
            check((row[8] or "") == case["note"], f"{path}: note {row[8]!r}")


def ods_rows(sheet):
    """The rows of an OpenDocument sheet as (value type, value) pairs, with
    repeated rows and columns spelt out, trailing empty ones left off."""
    rows = []
    for row in sheet.getElementsByType(table.TableRow):
        cells = []
        for cell in row.childNodes:
            repeat = int(cell.attributes.get((TABLENS, "number-columns-repeated"), "1"))
            kind = cell.attributes.get((OFFICENS, "value-type"))
            value = {"float": (OFFICENS, "value"), "date": (OFFICENS, "date-value"),
                     "boolean": (OFFICENS, "boolean-value")}.get(kind)
            shown = "\n".join(str(p) for p in cell.getElementsByType(text.P))
            cells += [(kind, cell.attributes.get(value) if value else shown)] * min(repeat, 50)
        while cells and cells[-1][0] is None:
            cells.pop()
        repeat = int(row.attributes.get((TABLENS, "number-rows-repeated"), "1"))
        rows += [cells] * min(repeat, 5)
    while rows and not rows[-1]:
        rows.pop()
    return rows


def check_ods(path, sheets):
    document = opendocument.load(path)
    found = document.spreadsheet.getElementsByType(table.Table)
    names = [s.getAttribute("name") for s in found]
    check(names == [s for s, _ in sheets], f"{path}: sheets {names}")
    for sheet, (name, cases) in zip(found, sheets):
        if cases is None:
            continue
        rows = ods_rows(sheet)
        start = next(i for i, row in enumerate(rows) if row and row[0][1] == HEADER[0])
        check([v for _, v in rows[start]] == HEADER, f"{path} {name}: header")
        check(len(rows) - start - 1 == len(cases), f"{path} {name}: {len(rows) - start - 1} rows")
        for row, case in zip(rows[start + 1:], cases):
            wanted = [("date", case["date"].isoformat()), ("string", case["patient"])]
            wanted += [("float", d) for d in case["diameters"]]
            wanted += [("string", case["sheath"]), ("string", case["stricture"]),
                       ("boolean", "true" if case["placed"] else "false")]
            wanted += [("string", case["note"])] if case["note"] else []
            check(row == wanted, f"{path} {name}: {row} != {wanted}")


def counts():
    """Per sheath size: cases, strictures, and where the calculator's rule
    puts the others, on the smallest diameter as typed."""
    for sheath, (low, high) in calc_log.BOUNDS.items():
        cases = [c for c in CASES if c["sheath"] == sheath]
        clear = [c for c in cases if c["stricture"] == "нет"]
        smallest = [min(Decimal(d) for d in c["diameters"]) for c in clear]
        below = sum(m <= Decimal(str(low)) for m in smallest)
        above = sum(m >= Decimal(str(high)) for m in smallest)
        print(f"{sheath}: {len(cases)} cases, {len(cases) - len(clear)} with a stricture; "
              f"without: {below} at or below {low}, {above} at or above {high}, "
              f"{len(clear) - below - above} between the bounds; "
              f"placed {sum(c['placed'] for c in cases)}")


def main():
    folder = sys.argv[1]
    ru_logical = {True: "ИСТИНА", False: "ЛОЖЬ"}
    check_csv(folder, "log-utf8-comma-point.csv", "utf-8", ",", ".", {True: "TRUE", False: "FALSE"})
    check_csv(folder, "log-utf8-semicolon.csv", "utf-8", ";", ",", ru_logical)
    check_csv(folder, "log-utf8-tab.csv", "utf-8", "\t", ",", ru_logical)
    check_csv(folder, "log-cp1251-semicolon.csv", "cp1251", ";", ",", ru_logical)
    check_csv(folder, "log-utf16-tab.csv", "utf-16", "\t", ",", ru_logical)
    check_csv(folder, "log-shown-0.00.csv", "utf-8", ";", ",", ru_logical, "%d.%m.%y", places=2)
    check_csv(folder, "log-shown-0.0.csv", "utf-8", ";", ",", ru_logical, "%d.%m.%y", places=1)
    check_csv(folder, "log-title.csv", "utf-8", ";", ",", ru_logical, title_rows=2)
    check(b"2,00" in open(os.path.join(folder, "log-shown-0.00.csv"), "rb").read(),
          "log-shown-0.00.csv: 1.995 not shown as 2,00")
    years = [(str(y), [c for c in CASES if c["date"].year == y]) for y in (2024, 2025)]
    for path, sheets in [("log.xlsx", [("Журнал", CASES)]), ("log-format-0.00.xlsx", [("Журнал", CASES)]),
                         ("log-per-year.xlsx", years + [("Сводка", None)]),
                         ("log-title.xlsx", [("Журнал", CASES)])]:
        check_xlsx(os.path.join(folder, path), sheets)
    for path, sheets in [("log.ods", [("Журнал", CASES)]), ("log-per-year.ods", years + [("Сводка", None)]),
                         ("log-title.ods", [("Журнал", CASES)])]:
        check_ods(os.path.join(folder, path), sheets)
    counts()
    for failure in failures[:20]:
        print("MISMATCH", failure)
    if failures:
        sys.exit(f"{len(failures)} mismatches")
    print("every file reads back as the log")


if __name__ == "__main__":
    main()
