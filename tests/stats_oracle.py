#!/usr/bin/env python3
"""Checks velmira-stats against independent, well-known implementations.

Writes many random case logs (seeded), runs the built velmira-stats on each,
and compares every row of the tables it writes with what scikit-learn's
IsotonicRegression predicts at the row's diameter and every pooled block's
interval with statsmodels' Wilson interval, both in whole percent.

    stats_oracle.py VELMIRA_STATS [LOGS]
"""
import csv
import decimal
import os
import random
import subprocess
import sys
import tempfile

import numpy as np
from sklearn.isotonic import IsotonicRegression
from statsmodels.stats.proportion import proportion_confint

SHEATHS = {"10-12": ("Statistics_1.txt", 1.44, 1.60), "12-14": ("Statistics_2.txt", 1.84, 2.00)}
ROWS = 17


def whole_percent(rate):
    """Half away from zero, exactly, as the program rounds."""
    return int(decimal.Decimal(rate * 100).quantize(decimal.Decimal(1), decimal.ROUND_HALF_UP))


def row_texts(lower):
    start = round(lower * 100)
    return ["%.2f" % ((start + i) / 100) for i in range(ROWS)]

# --- Random logs -------------------------------------------------------------
# Each kind stresses one part of the fit; all mix in cases at the fixed bounds
# and with strictures, which must stay out of the rows.

def band_diameter(rng, lower, upper, rows=None):
    """A smallest diameter strictly inside the band, in a chosen row when given."""
    if rows is None:
        return round(rng.uniform(lower + 0.0005, upper - 0.0005), 3)
    row = rng.choice(rows)
    value = lower + row / 100 + rng.choice([-0.004, -0.002, 0.0, 0.001, 0.003])
    return round(min(max(value, lower + 0.001), upper - 0.001), 3)


def placement(rng, kind, row):
    if kind == "all placed":
        return True
    if kind == "none placed":
        return False
    if kind == "violators at both ends":
        # High at the narrow end, low at the wide end: pooled across the table.
        return rng.random() < (0.95 if row < 3 else 0.05 if row > 13 else 0.5)
    if kind == "ties":
        return rng.random() < 0.5
    return rng.random() < 0.1 + 0.8 * row / (ROWS - 1) + rng.uniform(-0.3, 0.3)


def cases_for(rng, kind, lower, upper):
    count = {"single case": 1}.get(kind, rng.randint(2, 120))
    rows = None
    if kind == "rows with no cases":
        rows = rng.sample(range(ROWS), rng.randint(1, 5))
    cases = []
    for _ in range(count):
        smallest = band_diameter(rng, lower, upper, rows)
        row = round(smallest * 100) - round(lower * 100)
        cases.append((smallest, False, placement(rng, kind, row)))
    if kind != "single case":
        for _ in range(rng.randint(0, 8)):  # at and beyond the fixed bounds, strictures
            bound = rng.choice([lower - rng.uniform(0, 0.3), upper + rng.uniform(0, 0.5), lower, upper])
            cases.append((round(bound, 3), False, rng.random() < 0.5))
            cases.append((band_diameter(rng, lower, upper), True, rng.random() < 0.5))
    return cases


def write_log(path, rng, kind):
    cases = {}
    with open(path, "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f)
        out.writerow(["d1", "d2", "d3", "sheath", "stricture", "placed"])
        for sheath, (_, lower, upper) in SHEATHS.items():
            if kind == "single case" and sheath == "12-14":
                continue
            cases[sheath] = cases_for(rng, kind, lower, upper)
            for smallest, stricture, placed in cases[sheath]:
                others = [smallest + rng.uniform(0, 0.8) for _ in range(2)]
                diameters = ["%.3f" % smallest] + ["%.3f" % d for d in others]
                rng.shuffle(diameters)
                out.writerow(diameters + [sheath, "да" if stricture else "нет",
                                          "да" if placed else "нет"])
    return cases

# --- What the tables must say ------------------------------------------------

def read_table(path):
    with open(path, encoding="utf-8-sig") as f:
        lines = [line.rstrip("\n") for line in f]
    return [line.split(",") for line in lines[1:] if not line.startswith("#")]


def table_cases(cases, lower, upper):
    """Each case's row text, as the calculator's rule sorts it."""
    rows = []
    for smallest, stricture, placed in cases:
        if stricture or smallest >= upper or smallest <= lower:
            continue
        rows.append(("%.2f" % smallest, placed))
    return rows


def check_sheath(name, cases, lower, upper, path, failures):
    in_rows = table_cases(cases, lower, upper)
    if not in_rows:
        if os.path.exists(path):
            failures.append(f"{name}: a file without a case in its rows")
        return
    texts = row_texts(lower)
    x = np.array([float(t) for t, _ in in_rows])
    y = np.array([1.0 if p else 0.0 for _, p in in_rows])
    clipped = IsotonicRegression(increasing=True, out_of_bounds="clip", y_min=0.29, y_max=0.93)
    predicted = clipped.fit(x, y).predict(np.array([float(t) for t in texts]))
    pooled = IsotonicRegression(increasing=True, out_of_bounds="clip").fit(x, y)

    table = read_table(path)
    if [r[0] for r in table] != texts:
        failures.append(f"{name}: rows {[r[0] for r in table]}")
        return
    for row, fields, expected in zip(texts, table, predicted):
        check_row(name, row, fields, expected, in_rows, pooled, texts, failures)


def check_row(name, row, fields, expected, in_rows, pooled, texts, failures):
    cases = sum(1 for t, _ in in_rows if t == row)
    placed = sum(1 for t, p in in_rows if t == row and p)
    where = f"{name} {row}"
    if int(fields[1]) != whole_percent(expected):
        failures.append(f"{where}: {fields[1]} %, scikit-learn {expected * 100:.6f} %")
    if (int(fields[2]), int(fields[3])) != (cases, placed):
        failures.append(f"{where}: counts {fields[2:4]}, log {cases}/{placed}")
    if cases == 0:
        if fields[4:] != [""] * 6:
            failures.append(f"{where}: a row without cases has a block {fields[4:]}")
        return
    first, last = texts.index(fields[6]), texts.index(fields[7])
    span = texts[first:last + 1]
    block_cases = sum(1 for t, _ in in_rows if t in span)
    block_placed = sum(1 for t, p in in_rows if t in span and p)
    if (int(fields[4]), int(fields[5])) != (block_cases, block_placed):
        failures.append(f"{where}: block {fields[4:6]}, log {block_cases}/{block_placed} in {span}")
    # The block is what the unclipped fit pools: one value inside, others outside.
    values = pooled.predict(np.array([float(t) for t in span]))
    if not np.allclose(values, block_placed / block_cases, atol=1e-12):
        failures.append(f"{where}: block {span} is not one pooled value: {values}")
    with_cases = sorted({t for t, _ in in_rows})
    for neighbour in (first - 1, last + 1):
        if 0 <= neighbour < len(texts) and texts[neighbour] in with_cases:
            value = pooled.predict(np.array([float(texts[neighbour])]))[0]
            if abs(value - block_placed / block_cases) < 1e-12:
                failures.append(f"{where}: block {span} stops short of {texts[neighbour]}")
    low, high = proportion_confint(block_placed, block_cases, alpha=0.05, method="wilson")
    if (int(fields[8]), int(fields[9])) != (whole_percent(low), whole_percent(high)):
        failures.append(f"{where}: interval {fields[8:]}, statsmodels {low * 100:.6f}-{high * 100:.6f}")


KINDS = ["random", "ties", "violators at both ends", "all placed", "none placed", "single case",
         "rows with no cases"]


def main():
    program = sys.argv[1]
    logs = int(sys.argv[2]) if len(sys.argv) > 2 else 140
    rng = random.Random(20261209)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        for number in range(logs):
            kind = KINDS[number % len(KINDS)]
            folder = os.path.join(work, str(number))
            os.mkdir(folder)
            log = os.path.join(folder, "cases.csv")
            cases = write_log(log, rng, kind)
            run = subprocess.run([program, "--output", folder, log], capture_output=True, text=True)
            if run.returncode != 0:
                failures.append(f"log {number} ({kind}): exit {run.returncode}: {run.stderr}")
                continue
            before = len(failures)
            for sheath, (file, lower, upper) in SHEATHS.items():
                check_sheath(f"log {number} ({kind}) {sheath}", cases.get(sheath, []), lower,
                             upper, os.path.join(folder, file), failures)
            if len(failures) > before:
                failures.append(f"log {number} kept in the failure's output:\n" + open(log).read())
    for failure in failures[:40]:
        print("FAIL:", failure)
    print(f"{logs} logs, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
