#!/usr/bin/env python3
"""Writes synthetic-case-log-cp1251.csv: an invented case log of 320
procedures, not clinical data, in the dialect a spreadsheet on a Russian
Windows saves as "CSV": semicolons, decimal commas, Windows-1251, CR LF.

Its patients, record numbers and surgeons are made up; velmira-stats ignores
those columns and must never copy them into any output. The same seed gives
the same bytes:  python3 make-synthetic-case-log.py [OUTPUT]
"""
import datetime
import math
import random
import sys

SEED = 20261209
CASES = 320
SURNAMES = ["Вымыслов", "Придумкин", "Небылицын", "Сочинёнов", "Выдумкова", "Условнова"]
NAMES = ["Аркадий", "Белла", "Вениамин", "Глафира", "Добрыня", "Евлампия"]
SURGEONS = ["Хирург Альфа", "Хирург Бета", "Хирург Гамма"]
SHEATH_TEXTS = {"10-12": ["10-12", "10-12 Ch", "10/12"], "12-14": ["12-14", "12-14 Ch", "12/14 Fr"]}
# The smallest diameter of a case straddles the sheath size's middle band.
BANDS = {"10-12": (1.36, 1.70, 1.52), "12-14": (1.76, 2.10, 1.92)}


def comma(value, places):
    return f"{value:.{places}f}".replace(".", ",")


def one_case(rng, number, start):
    sheath = "10-12" if rng.random() < 0.6 else "12-14"
    low, high, middle = BANDS[sheath]
    smallest = rng.uniform(low, high)
    others = [smallest + rng.uniform(0.0, 0.6) for _ in range(2)]
    diameters = [smallest] + others
    rng.shuffle(diameters)
    stricture = rng.random() < 0.04
    chance = 0.0 if stricture else 0.25 + 0.7 / (1 + math.exp(-(smallest - middle) / 0.05))
    placed = rng.random() < chance
    date = start + datetime.timedelta(days=rng.randrange(0, 990))
    return [
        f"СИН-{number:05d}",
        f"{rng.choice(SURNAMES)} {rng.choice(NAMES)}",
        date.strftime("%d.%m.%Y"),
        rng.choice(SURGEONS),
        *[comma(d, rng.choice([2, 3])) for d in diameters],
        rng.choice(SHEATH_TEXTS[sheath]),
        "да" if stricture else "нет",
        "да" if placed else "нет",
    ]


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "synthetic-case-log-cp1251.csv"
    rng = random.Random(SEED)
    start = datetime.date(2024, 3, 1)
    header = ["№ записи", "ФИО", "Дата", "Хирург", "Диаметр 1", "Диаметр 2", "Диаметр 3",
              "Кожух", "Стриктура", "Установлен"]
    lines = [";".join(header)]
    lines += [";".join(one_case(rng, n, start)) for n in range(1, CASES + 1)]
    with open(output, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))


if __name__ == "__main__":
    main()
