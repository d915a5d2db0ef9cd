#!/usr/bin/env python3
"""Writes an invented 300-procedure case log as a flat OpenDocument
spreadsheet (.fods) with real cell types, for LibreOffice Calc to convert
into the workbooks and CSV files under calc/. Not clinical data.

Date cells, number cells with up to three decimals, text cells for the
sheath and the stricture, logical cells (as a check-box column gives) for
the placement, and notes, one of them with a line break inside the cell.
The same seed gives the same bytes:

    calc_log.py [--locale ru-RU|en-US] [--diameters general|0.00|0.0]
                [--layout plain|per-year|title] OUTPUT.fods
"""
import argparse
import datetime
import math
import random
from xml.sax.saxutils import escape

SEED = 20241209
CASES = 300
HEADER = ["Дата", "Пациент", "Диаметр 1, мм", "Диаметр 2, мм", "Диаметр 3, мм",
          "Кожух (Ch)", "Стриктура (да/нет)", "Установлен?", "Примечание"]
# The calculator's bounds on the smallest diameter: at or below the first a
# fixed 29 %, at or above the second a fixed 93 %, the table in between.
BOUNDS = {"10-12 Ch": (1.44, 1.60), "12-14 Ch": (1.84, 2.00)}
# Diameters that rounding to two or one decimal moves: 1.995 onto the
# 12-14 Ch upper bound, 1.445 off the 10-12 Ch lower bound.
PINNED = {7: ("12-14 Ch", 1.995), 41: ("10-12 Ch", 1.445), 88: ("12-14 Ch", 1.845),
          150: ("10-12 Ch", 1.595), 233: ("12-14 Ch", 1.955)}
NOTES = ["контроль через 3 мес.", "повторная операция", "стент 4 нед.",
         "камень в/3; \"сложный\" доступ", "без особенностей"]
LETTERS = "АБВГДЕЖЗИКЛМНОПРСТУФХЧШЭЮЯ"


def diameter_text(value, places):
    """The decimal text a keeper types: trailing zeros dropped, as Calc
    shows a number in its standard format."""
    return f"{value:.{places}f}".rstrip("0").rstrip(".")


def smallest_diameter(rng, sheath):
    low, high = BOUNDS[sheath]
    band = rng.random()
    if band < 0.15:
        return rng.uniform(low - 0.25, low)
    if band < 0.80:
        return rng.uniform(low, high)
    return rng.uniform(high, high + 0.5)


def one_case(rng, number, date):
    if number in PINNED:
        sheath, smallest = PINNED[number]
        places = 3
    else:
        sheath = "10-12 Ch" if rng.random() < 0.55 else "12-14 Ch"
        smallest = smallest_diameter(rng, sheath)
        places = rng.choice([2, 2, 2, 3, 3, 1])
    others = [smallest + rng.uniform(0.05, 0.9) for _ in range(2)]
    texts = [diameter_text(smallest, places)] + [diameter_text(d, rng.choice([2, 3])) for d in others]
    rng.shuffle(texts)
    stricture = number not in PINNED and rng.random() < 0.08
    low, high = BOUNDS[sheath]
    chance = 0.05 if stricture else 0.2 + 0.75 / (1 + math.exp(-(smallest - (low + high) / 2) / 0.05))
    note = ""
    if number == 12:
        note = "камень н/3\nстент 4 нед."
    elif rng.random() < 0.12:
        note = rng.choice(NOTES)
    initials = ".".join(rng.choice(LETTERS) for _ in range(3)) + "."
    return {"date": date, "patient": initials, "diameters": texts, "sheath": sheath,
            "stricture": "да" if stricture else "нет", "placed": rng.random() < chance, "note": note}


def make_cases():
    rng = random.Random(SEED)
    dates = sorted(datetime.date(2024, 1, 9) + datetime.timedelta(days=rng.randrange(0, 720))
                   for _ in range(CASES))
    return [one_case(rng, n, dates[n - 1]) for n in range(1, CASES + 1)]


def text_cell(text):
    paragraphs = "".join(f"<text:p>{escape(line)}</text:p>" for line in text.split("\n"))
    return f'<table:table-cell office:value-type="string">{paragraphs}</table:table-cell>'


def row_cells(case):
    date = case["date"]
    cells = [f'<table:table-cell table:style-name="ce_date" office:value-type="date" '
             f'office:date-value="{date.isoformat()}"><text:p>{date:%d.%m.%y}</text:p></table:table-cell>',
             text_cell(case["patient"])]
    cells += [f'<table:table-cell table:style-name="ce_diameter" office:value-type="float" '
              f'office:value="{d}"><text:p>{d}</text:p></table:table-cell>' for d in case["diameters"]]
    cells += [text_cell(case["sheath"]), text_cell(case["stricture"])]
    logical = "true" if case["placed"] else "false"
    cells.append(f'<table:table-cell table:style-name="ce_bool" office:value-type="boolean" '
                 f'office:boolean-value="{logical}"><text:p>{logical.upper()}</text:p></table:table-cell>')
    cells.append(text_cell(case["note"]) if case["note"] else "<table:table-cell/>")
    return "<table:table-row>" + "".join(cells) + "</table:table-row>"


def header_row():
    return "<table:table-row>" + "".join(text_cell(name) for name in HEADER) + "</table:table-row>"


def table(name, rows):
    return (f'<table:table table:name="{escape(name)}">'
            f'<table:table-column table:number-columns-repeated="{len(HEADER)}"/>'
            + "".join(rows) + "</table:table>")


def sheets(layout, cases):
    if layout == "plain":
        return [table("Журнал", [header_row()] + [row_cells(c) for c in cases])]
    if layout == "title":
        title = ("<table:table-row>" + text_cell("Журнал установки мочеточникового кожуха, 2024–2025")
                 + "</table:table-row><table:table-row><table:table-cell/></table:table-row>")
        return [table("Журнал", [title, header_row()] + [row_cells(c) for c in cases])]
    years = [table(str(year), [header_row()] + [row_cells(c) for c in cases if c["date"].year == year])
             for year in (2024, 2025)]
    placed = sum(c["placed"] for c in cases)
    summary = table("Сводка", [
        "<table:table-row>" + text_cell("Сводка по журналу") + "</table:table-row>",
        "<table:table-row>" + text_cell("Всего процедур")
        + f'<table:table-cell office:value-type="float" office:value="{len(cases)}"><text:p>{len(cases)}</text:p></table:table-cell>'
        + "</table:table-row>",
        "<table:table-row>" + text_cell("Кожух установлен")
        + f'<table:table-cell office:value-type="float" office:value="{placed}"><text:p>{placed}</text:p></table:table-cell>'
        + "</table:table-row>"])
    return years + [summary]


def number_style(diameters, language, country):
    locale = f'number:language="{language}" number:country="{country}"'
    if diameters == "general":
        return f'<number:number-style style:name="N_DIAM" {locale}><number:number number:min-integer-digits="1"/></number:number-style>'
    places = len(diameters.split(".")[1])
    return (f'<number:number-style style:name="N_DIAM" {locale}><number:number number:decimal-places="{places}" '
            f'number:min-decimal-places="{places}" number:min-integer-digits="1"/></number:number-style>')


def document(locale, diameters, layout, cases):
    language, country = locale.split("-")
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:styles>
<style:default-style style:family="table-cell"><style:text-properties fo:language="{language}" fo:country="{country}"/></style:default-style>
<style:style style:name="Default" style:family="table-cell"/>
</office:styles>
<office:automatic-styles>
<number:date-style style:name="N_DATE" number:language="ru" number:country="RU"><number:day number:style="long"/><number:text>.</number:text><number:month number:style="long"/><number:text>.</number:text><number:year/></number:date-style>
{number_style(diameters, language, country)}
<number:boolean-style style:name="N_BOOL" number:language="{language}" number:country="{country}"><number:boolean/></number:boolean-style>
<style:style style:name="ce_date" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="N_DATE"/>
<style:style style:name="ce_diameter" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="N_DIAM"/>
<style:style style:name="ce_bool" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="N_BOOL"/>
</office:automatic-styles>
<office:body><office:spreadsheet>
{"".join(sheets(layout, cases))}
</office:spreadsheet></office:body></office:document>
"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--locale", default="ru-RU", choices=["ru-RU", "en-US"])
    parser.add_argument("--diameters", default="general", choices=["general", "0.00", "0.0"])
    parser.add_argument("--layout", default="plain", choices=["plain", "per-year", "title"])
    parser.add_argument("output")
    args = parser.parse_args()
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(document(args.locale, args.diameters, args.layout, make_cases()))


if __name__ == "__main__":
    main()
