#!/usr/bin/python3
"""Writes message-cells.xlsx: a log kept as one sheet per year whose second
sheet has bad cells at known places, for the test of where messages point.

Run with Debian's python3-openpyxl:  /usr/bin/python3 make_message_workbook.py
"""
import datetime
import os

import openpyxl

HEADER = ["Дата", "Пациент", "Кожух", "Стриктура", "Диаметр 1", "Диаметр 2", "Диаметр 3",
          "Установлен"]


def good_row(n):
    return [datetime.date(2025, 1, 1) + datetime.timedelta(days=n), "П-%d" % n, "10-12 Ch",
            "нет", 1.5 + (n % 10) / 100, 1.8, 2.1, n % 3 != 0]


book = openpyxl.Workbook()
first = book.active
first.title = "2024"
first.append(HEADER)
for n in range(20):
    first.append(good_row(n))

second = book.create_sheet("2025")
second.append(HEADER)
for row in range(2, 41):
    cells = good_row(row)
    if 10 <= row <= 20:
        cells[3] = None  # an empty column of check boxes: one grouped line
    if row == 30:
        cells[4] = "abc"
    if row == 35:
        cells[0] = "31.02.2024"  # the form of a date, but no such day
    second.append(cells)

book.save(os.path.join(os.path.dirname(os.path.abspath(__file__)), "message-cells.xlsx"))
