#!/usr/bin/env python3
"""Checks velmira-stats --check against independent, well-known implementations.

Writes many random pairs of statistics tables and case logs (seeded), runs the
built velmira-stats --check --json on each, and compares every figure with
statsmodels (binomial GLM for the calibration intercept, with logit(figure) as
an offset, and for the slope; the Wilson interval), a root search for the
O/E score interval, scikit-learn
(roc_auc_score, brier_score_loss) and DeLong's variance computed here from all
pairs. The figure each case gets is worked out here too, from the rule as the
README states it. Then, over seeded repetitions, the O/E interval must hold 1
about 95 % of the time when the outcomes are drawn from the figures, and miss
it when they are drawn 20 points lower.

    check_oracle.py VELMIRA_STATS [LOGS]
"""
import json
import math
import os
import random
import subprocess
import sys
import tempfile

import numpy as np
from scipy.optimize import brentq
from scipy.special import expit
import statsmodels.api as sm
from sklearn.metrics import brier_score_loss, roc_auc_score
from statsmodels.stats.proportion import proportion_confint

SHEATHS = {"10-12": ("Statistics_1.txt", 1.44, 1.60), "12-14": ("Statistics_2.txt", 1.84, 2.00)}
ROWS = 17
Z = 1.959963984540054
TOLERANCE = 1e-6
# statsmodels' own Newton-Raphson: its standard errors come from the Hessian at
# the optimum, where the default IRLS's drift by 1e-5 on nearly separated logs.
GLM_FIT = {"method": "newton", "tol": 1e-13, "maxiter": 1000}

# --- Random tables and logs --------------------------------------------------


def random_table(rng, kind, lower):
    """Rows as (diameter text, percentage text); the calculator reads the last usable match."""
    start = round(lower * 100)
    rows = []
    for i in range(ROWS):
        text = "%.2f" % ((start + i) / 100)
        if kind == "rows missing" and rng.random() < 0.3:
            continue
        if kind == "one figure":
            percent = 60
        elif kind == "extreme figures":
            percent = rng.choice([0, 100, 1, 99, 50])
        else:
            percent = min(100, max(0, 30 + 4 * i + rng.randint(-8, 8)))
        rows.append((text, str(percent)))
        if rng.random() < 0.1:  # a later duplicate wins, an unusable one does not
            rows.append((text, rng.choice([str(rng.randint(0, 100)), "85%", ""])))
    return rows


def write_table(path, rows):
    with open(path, "w", encoding="utf-8") as f:
        f.write("diameter,percent\n# checked by the oracle\n")
        for diameter, percent in rows:
            f.write(f"{diameter},{percent}\n")


def lookup(rows, text):
    for diameter, percent in reversed(rows):
        if diameter == text and percent.isdigit() and 0 <= int(percent) <= 100:
            return int(percent)
    return None


def shown(case, tables):
    """(zone, figure in percent) as the calculator's rule gives it; zone None: no figure."""
    sheath, smallest, stricture = case["sheath"], case["smallest"], case["stricture"]
    if stricture:
        return "stricture", 0
    _, lower, upper = SHEATHS[sheath]
    if smallest >= upper:
        return "upper", 93
    if smallest <= lower:
        return "lower", 29
    figure = lookup(tables[sheath], "%.2f" % smallest)
    return ("table", figure) if figure is not None else (None, None)


def outcome(rng, kind, figure):
    if kind == "all placed":
        return True
    if kind == "none placed":
        return False
    shift = -0.2 if kind == "20 points lower" else 0.0
    return rng.random() < min(1.0, max(0.0, figure / 100 + shift))


def random_cases(rng, kind, tables):
    count = {"single case": 1}.get(kind, rng.randint(2, 250))
    cases = []
    for _ in range(count):
        sheath = rng.choice(list(SHEATHS))
        _, lower, upper = SHEATHS[sheath]
        where = rng.random()
        if where < 0.15:
            smallest = round(rng.uniform(lower - 0.3, lower), 3)
        elif where < 0.3:
            smallest = round(rng.uniform(upper, upper + 0.5), 3)
        else:
            smallest = round(rng.uniform(lower + 0.0005, upper - 0.0005), 3)
        stricture = kind == "only strictures" or rng.random() < 0.05
        case = {"sheath": sheath, "smallest": smallest, "stricture": stricture}
        zone, figure = shown(case, tables)
        case["zone"], case["figure"] = zone, figure
        case["placed"] = outcome(rng, kind, figure if figure is not None else 50)
        cases.append(case)
    return cases


def write_log(path, rng, cases):
    with open(path, "w", encoding="utf-8") as f:
        f.write("d1,d2,d3,sheath,stricture,placed\n")
        for case in cases:
            diameters = ["%.3f" % case["smallest"]] + [
                "%.3f" % (case["smallest"] + rng.uniform(0, 0.8)) for _ in range(2)]
            rng.shuffle(diameters)
            f.write(",".join(diameters + [case["sheath"], "да" if case["stricture"] else "нет",
                                          "да" if case["placed"] else "нет"]) + "\n")

# --- What the check must say -------------------------------------------------


def logit(figure):
    p = min(max(figure / 100, 0.005), 0.995)
    return math.log(p / (1 - p))


def separated(x, y):
    """No maximum of the likelihood with a slope: placements and failures do not overlap."""
    placed, failed = x[y == 1], x[y == 0]
    if len(placed) == 0 or len(failed) == 0:
        return True
    return not (placed.min() < failed.max() and failed.min() < placed.max())


def oe_interval(f, y):
    """The expected counts over E, once every figure is shifted on the logit scale,
    at which O lies 1.96 standard deviations away; found by root search."""
    observed, expected = y.sum(), f.sum()
    clamped = np.clip(f, 0.005, 0.995)
    logits = np.log(clamped / (1 - clamped))

    def moments(shift):
        p = expit(logits + shift)
        return p.sum(), np.sum(p * (1 - p))

    def score(shift):
        mean, variance = moments(shift)
        return (observed - mean) ** 2 - Z * Z * variance

    low_end, high_end = moments(-np.inf)[0], moments(np.inf)[0]
    if low_end < observed < high_end:
        fitted = brentq(lambda s: moments(s)[0] - observed, -80, 80, xtol=1e-14)
    else:
        fitted = -np.inf if observed <= low_end else np.inf
    # The score is positive far out on either side and negative near the fit:
    # the bounds are its sign changes next to the fit, found on a grid first.
    grid = np.linspace(-80, 80, 1601)
    scores = np.array([score(s) for s in grid])
    low, high = low_end, high_end
    for i in range(len(grid) - 1):
        if scores[i] > 0 >= scores[i + 1] and grid[i + 1] <= fitted:
            low = moments(brentq(score, grid[i], grid[i + 1], xtol=1e-14))[0]
        if scores[i] < 0 <= scores[i + 1] and grid[i] >= fitted and high == high_end:
            high = moments(brentq(score, grid[i], grid[i + 1], xtol=1e-14))[0]
    return [low / expected, high / expected]


def delong(f, y):
    placed, failed = f[y == 1], f[y == 0]
    psi = (placed[:, None] > failed[None, :]) + 0.5 * (placed[:, None] == failed[None, :])
    v10, v01 = psi.mean(axis=1), psi.mean(axis=0)
    auc = psi.mean()
    if len(placed) < 2 or len(failed) < 2:
        return auc, None
    se = math.sqrt(v10.var(ddof=1) / len(placed) + v01.var(ddof=1) / len(failed))
    return auc, [max(0.0, auc - Z * se), min(1.0, auc + Z * se)]


class Comparison:
    def __init__(self, where, failures):
        self.where, self.failures = where, failures

    def close(self, key, ours, theirs, tolerance=TOLERANCE):
        if theirs is None or ours is None:
            if theirs is not ours:
                self.failures.append(f"{self.where}: {key} {ours}, expected {theirs}")
            return
        a, b = np.atleast_1d(ours).astype(float), np.atleast_1d(theirs).astype(float)
        if a.shape != b.shape or not np.allclose(a, b, rtol=tolerance, atol=tolerance):
            self.failures.append(f"{self.where}: {key} {ours}, expected {theirs}")


def check_figures(report, cases, compare):
    checked = [c for c in cases if c["zone"] not in (None, "stricture")]
    compare.close("cases", report["cases"], len(checked), 0)
    compare.close("placements", report["placements"], sum(c["placed"] for c in checked), 0)
    compare.close("excluded_stricture", report["excluded_stricture"],
                  sum(c["zone"] == "stricture" for c in cases), 0)
    compare.close("no_figure", report["no_figure"], sum(c["zone"] is None for c in cases), 0)
    if not checked:
        for key in ("observed_rate", "mean_figure", "oe", "intercept", "slope", "brier",
                    "c_statistic"):
            compare.close(key, report[key], None)
        return
    f = np.array([c["figure"] / 100 for c in checked])
    y = np.array([1 if c["placed"] else 0 for c in checked])
    check_calibration(report, f, y, compare)
    check_accuracy(report, f, y, compare)
    check_rows(report, checked, compare)


def check_calibration(report, f, y, compare):
    rate, mean = y.mean(), f.mean()
    compare.close("observed_rate", report["observed_rate"], rate)
    compare.close("mean_figure", report["mean_figure"], mean)
    if mean > 0:
        compare.close("oe", report["oe"], rate / mean)
        compare.close("oe_ci", report["oe_ci"], oe_interval(f, y))
    x = np.array([logit(v) for v in np.round(f * 100)])
    family = sm.families.Binomial()
    if 0 < y.sum() < len(y):
        fit = sm.GLM(y, np.ones((len(y), 1)), family=family, offset=x).fit(**GLM_FIT)
        compare.close("intercept", report["intercept"], fit.params[0])
        compare.close("intercept_ci", report["intercept_ci"], list(fit.conf_int()[0]))
    else:
        compare.close("intercept", report["intercept"], None)
    if not separated(x, y):
        fit = sm.GLM(y, sm.add_constant(x, has_constant="add"), family=family).fit(**GLM_FIT)
        compare.close("slope", report["slope"], fit.params[1])
        compare.close("slope_ci", report["slope_ci"], list(fit.conf_int()[1]))
    else:
        compare.close("slope", report["slope"], None)


def check_accuracy(report, f, y, compare):
    brier = brier_score_loss(y, f) if 0 < y.sum() < len(y) else float(np.mean((f - y) ** 2))
    compare.close("brier", report["brier"], brier)
    rate = y.mean()
    compare.close("brier_scaled", report["brier_scaled"],
                  1 - brier / (rate * (1 - rate)) if 0 < rate < 1 else None)
    if 0 < y.sum() < len(y):
        auc, interval = delong(f, y)
        compare.close("c_statistic", report["c_statistic"], roc_auc_score(y, f))
        compare.close("c_statistic (DeLong's mean)", report["c_statistic"], auc)
        compare.close("c_statistic_ci", report["c_statistic_ci"], interval)
    else:
        compare.close("c_statistic", report["c_statistic"], None)


def wilson(placed, cases):
    return list(proportion_confint(placed, cases, alpha=0.05, method="wilson"))


def check_rows(report, checked, compare):
    figures = sorted({c["figure"] for c in checked})
    if [round(r["figure"] * 100) for r in report["by_figure"]] != figures:
        compare.failures.append(f"{compare.where}: by_figure {report['by_figure']}, figures {figures}")
        return
    for row, figure in zip(report["by_figure"], figures):
        group = [c for c in checked if c["figure"] == figure]
        placed = sum(c["placed"] for c in group)
        compare.close(f"by_figure {figure} counts", [row["cases"], row["placements"]],
                      [len(group), placed], 0)
        compare.close(f"by_figure {figure} ci", row["ci"], wilson(placed, len(group)))
    for zone in ("lower", "table", "upper"):
        group = [c for c in checked if c["zone"] == zone]
        row = report["by_zone"][zone]
        placed = sum(c["placed"] for c in group)
        compare.close(f"by_zone {zone} counts", [row["cases"], row["placements"]],
                      [len(group), placed], 0)
        if group:
            compare.close(f"by_zone {zone} mean", row["mean_figure"],
                          np.mean([c["figure"] / 100 for c in group]))
            compare.close(f"by_zone {zone} ci", row["ci"], wilson(placed, len(group)))


KINDS = ["random", "rows missing", "one figure", "extreme figures", "all placed", "none placed",
         "single case", "only strictures"]

# --- Running the command -----------------------------------------------------


def run_check(program, folder, rng, table_kind, log_kind):
    tables = {}
    for sheath, (name, lower, _) in SHEATHS.items():
        tables[sheath] = random_table(rng, table_kind, lower)
        write_table(os.path.join(folder, name), tables[sheath])
    cases = random_cases(rng, log_kind, tables)
    log, out = os.path.join(folder, "cases.csv"), os.path.join(folder, "check.json")
    write_log(log, rng, cases)
    run = subprocess.run([program, "--check", "--tables", folder, "--json", out, log],
                         capture_output=True, text=True)
    return cases, run, out


def expected_exit(cases):
    return 0 if any(c["zone"] not in (None, "stricture") for c in cases) else 4


def compare_logs(program, work, rng, logs, failures):
    for number in range(logs):
        kind = KINDS[number % len(KINDS)]
        table_kind = kind if kind in ("rows missing", "one figure", "extreme figures") else "random"
        folder = os.path.join(work, f"log{number}")
        os.mkdir(folder)
        cases, run, out = run_check(program, folder, rng, table_kind, kind)
        where = f"log {number} ({kind})"
        if run.returncode != expected_exit(cases):
            failures.append(f"{where}: exit {run.returncode}: {run.stderr}")
            continue
        with open(out, encoding="utf-8") as f:
            check_figures(json.load(f), cases, Comparison(where, failures))


def oe_coverage(program, work, rng, kind, repetitions):
    """The share of seeded logs whose O/E interval holds 1."""
    held = 0
    for number in range(repetitions):
        folder = os.path.join(work, f"{kind}{number}")
        os.mkdir(folder)
        _, run, out = run_check(program, folder, rng, "random", kind)
        with open(out, encoding="utf-8") as f:
            low, high = json.load(f)["oe_ci"]
        held += low <= 1 <= high
    return held / repetitions


def main():
    program = sys.argv[1]
    logs = int(sys.argv[2]) if len(sys.argv) > 2 else 160
    rng = random.Random(20261210)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        compare_logs(program, work, rng, logs, failures)
        repetitions = max(40, logs)
        drawn = oe_coverage(program, work, rng, "random", repetitions)
        lower = oe_coverage(program, work, rng, "20 points lower", repetitions)
    # About 95 %: with 160 logs a binomial 95 % has a spread of under 2 points.
    if not 0.89 <= drawn <= 0.99:
        failures.append(f"O/E interval held 1 in {drawn:.1%} of logs drawn from the figures")
    if lower > 0.2:
        failures.append(f"O/E interval held 1 in {lower:.1%} of logs drawn 20 points lower")
    for failure in failures[:40]:
        print("FAIL:", failure)
    print(f"{logs} logs, O/E held 1 in {drawn:.1%} drawn from the figures and {lower:.1%} "
          f"drawn 20 points lower, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
