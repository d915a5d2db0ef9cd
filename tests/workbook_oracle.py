#!/usr/bin/env python3
"""Checks the workbook reader against openpyxl and odfpy.

Runs workbook_dump (the reader's rows as JSON) on every readable workbook of
the fixtures folder and compares each sheet's rows and cells with those that
openpyxl (.xlsx) and odfpy (.ods) read from the same file, turned into text
by the reader's own rules: numbers at 15 significant digits, dates as
yyyy-mm-dd, logical cells as ИСТИНА/ЛОЖЬ.

    workbook_oracle.py WORKBOOK_DUMP FIXTURES_DIR
"""
import datetime
import json
import warnings
import os
import subprocess
import sys

import openpyxl
from odf import teletype
from odf.namespaces import OFFICENS, TABLENS, TEXTNS
from odf.opendocument import load

READABLE = ["edge.xlsx", "dates1904.xlsx", "million_rows.xlsx", "openpyxl.xlsx", "edge.ods"]
MAX_ROWS = 1048576
MAX_COLUMNS = 16384


def number_text(value):
    """A number as the spreadsheet shows it at full precision: 15 significant digits."""
    if value == 0:
        return "0"
    mantissa, exponent = ("%.14e" % value).split("e")
    exponent = int(exponent)
    negative = mantissa.startswith("-")
    digits = mantissa.lstrip("-").replace(".", "").rstrip("0") or "0"
    if exponent < -15 or exponent > 20:
        text = digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
        text += "E%s%02d" % ("-" if exponent < 0 else "+", abs(exponent))
    elif exponent < 0:
        text = "0." + "0" * (-exponent - 1) + digits
    elif len(digits) <= exponent + 1:
        text = digits + "0" * (exponent + 1 - len(digits))
    else:
        text = digits[:exponent + 1] + "." + digits[exponent + 1:]
    return ("-" if negative else "") + text


def value_text(value):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "ИСТИНА" if value else "ЛОЖЬ"
    if isinstance(value, (datetime.datetime, datetime.date)):
        return value.strftime("%Y-%m-%d")
    if isinstance(value, datetime.timedelta):
        return number_text(value.total_seconds() / 86400)
    if isinstance(value, datetime.time):
        # A time alone is no date: its stored value, a fraction of a day.
        seconds = value.hour * 3600 + value.minute * 60 + value.second
        return number_text(seconds / 86400)
    if isinstance(value, (int, float)):
        return number_text(value)
    return str(value)


def trimmed(cells):
    while cells and cells[-1] == "":
        cells.pop()
    return cells


def xlsx_sheets(path):
    # The hand-written workbooks have no named style, which openpyxl warns about.
    warnings.simplefilter("ignore", UserWarning)
    workbook = openpyxl.load_workbook(path, data_only=True)
    sheets = []
    for sheet in workbook.worksheets:
        rows = []
        for number, row in enumerate(sheet.iter_rows(values_only=True), start=1):
            cells = trimmed([value_text(value) for value in row])
            if cells:
                rows.append({"number": number, "cells": cells})
        sheets.append({"name": sheet.title, "rows": rows})
    # Chart sheets are sheets without rows, in the workbook's order.
    order = [sheet.title for sheet in workbook._sheets]
    names = {sheet["name"] for sheet in sheets}
    sheets += [{"name": name, "rows": []} for name in order if name not in names]
    sheets.sort(key=lambda sheet: order.index(sheet["name"]))
    return sheets


def attribute(element, namespace, name):
    return element.attributes.get((namespace, name))


def ods_cell_text(cell):
    value_type = attribute(cell, OFFICENS, "value-type")
    if value_type in ("float", "percentage", "currency") and attribute(cell, OFFICENS, "value"):
        return number_text(float(attribute(cell, OFFICENS, "value")))
    if value_type == "date":
        return attribute(cell, OFFICENS, "date-value").split("T")[0]
    if value_type == "boolean":
        return "ИСТИНА" if attribute(cell, OFFICENS, "boolean-value") == "true" else "ЛОЖЬ"
    if value_type == "time":
        duration = attribute(cell, OFFICENS, "time-value")
        hours, rest = duration[2:].split("H")
        minutes, seconds = rest.rstrip("S").split("M")
        return number_text((int(hours) * 3600 + int(minutes) * 60 + float(seconds)) / 86400)
    paragraphs = [child for child in cell.childNodes if child.qname == (TEXTNS, "p")]
    return "\n".join(teletype.extractText(paragraph) for paragraph in paragraphs)


def ods_row_cells(row):
    cells = []
    for cell in row.childNodes:
        if cell.qname not in ((TABLENS, "table-cell"), (TABLENS, "covered-table-cell")):
            continue
        repeat = int(attribute(cell, TABLENS, "number-columns-repeated") or 1)
        text = ods_cell_text(cell)
        repeat = min(repeat, MAX_COLUMNS - len(cells)) if text else repeat
        cells += [text] * repeat if text or len(cells) + repeat < MAX_COLUMNS else []
    return trimmed(cells[:MAX_COLUMNS])


def table_rows(element):
    """The rows of a table in order, also those in header and group elements."""
    for child in element.childNodes:
        if child.qname == (TABLENS, "table-row"):
            yield child
        elif child.qname in ((TABLENS, "table-header-rows"), (TABLENS, "table-row-group"),
                             (TABLENS, "table-rows")):
            yield from table_rows(child)


def ods_sheets(path):
    document = load(path)
    sheets = []
    for table in document.spreadsheet.childNodes:
        if table.qname != (TABLENS, "table"):
            continue
        rows, number = [], 0
        for row in table_rows(table):
            repeat = int(attribute(row, TABLENS, "number-rows-repeated") or 1)
            cells = ods_row_cells(row)
            for offset in range(repeat if cells else 0):
                if number + offset + 1 <= MAX_ROWS:
                    rows.append({"number": number + offset + 1, "cells": cells})
            number += repeat
        sheets.append({"name": attribute(table, TABLENS, "name"), "rows": rows})
    return sheets


def compare(name, expected, read):
    problems = []
    if [s["name"] for s in expected] != [s["name"] for s in read]:
        return [f"{name}: sheets {[s['name'] for s in read]}, expected {[s['name'] for s in expected]}"]
    for want, got in zip(expected, read):
        if len(want["rows"]) != len(got["rows"]):
            problems.append(f"{name} «{want['name']}»: {len(got['rows'])} rows, expected {len(want['rows'])}")
        for want_row, got_row in zip(want["rows"], got["rows"]):
            if want_row != got_row:
                problems.append(f"{name} «{want['name']}»: row {got_row}, expected {want_row}")
                break
    return problems


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    dump, folder = sys.argv[1], sys.argv[2]
    problems, cells = [], 0
    for name in READABLE:
        path = os.path.join(folder, name)
        done = subprocess.run([dump, path], capture_output=True, text=True, check=False)
        read = json.loads(done.stdout)
        if done.returncode != 0 or "error" in read:
            problems.append(f"{name}: the reader failed: {read.get('error', done.stderr)}")
            continue
        expected = ods_sheets(path) if name.endswith(".ods") else xlsx_sheets(path)
        problems += compare(name, expected, read["sheets"])
        cells += sum(len(row["cells"]) for sheet in expected for row in sheet["rows"])
    for problem in problems:
        print(problem)
    print(f"{len(READABLE)} workbooks, {cells} cells compared, {len(problems)} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
