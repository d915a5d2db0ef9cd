#!/usr/bin/env python3
"""Runs lupdate over each program's sources as a translator would and checks
what it finds: no warning (a text without a context, a tr() it cannot place),
and every context the name of a class of the sources. Then writes a
pseudo-translation, every text marked as ⟦text⟧, and compiles it with lrelease,
for the tests that load it into the programs' code.

Usage: check_texts.py LUPDATE LRELEASE SOURCE_DIR OUT_DIR PROGRAM=DIR,DIR... ...
Writes OUT_DIR/PROGRAM.ts, OUT_DIR/PROGRAM_pseudo.ts and OUT_DIR/PROGRAM_pseudo.qm.
"""

import pathlib
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

MARK_OPEN, MARK_CLOSE = "\u27e6", "\u27e7"

# lupdate reports a problem as "file:line: what".
WARNING = re.compile(r"^.+:\d+: .+$")


def run_lupdate(lupdate, source_dir, folders, ts):
    command = [lupdate, "-no-obsolete", "-locations", "relative", *folders, "-ts", str(ts)]
    done = subprocess.run(command, cwd=source_dir, capture_output=True, text=True)
    output = done.stdout + done.stderr
    warnings = [line for line in output.splitlines() if WARNING.match(line)]
    if done.returncode != 0:
        warnings.append(f"lupdate exited with {done.returncode}:\n{output}")
    return warnings


def declared_classes(source_dir, folders):
    """Every class and struct the sources declare, and the forms' classes."""
    names = set()
    for folder in folders:
        for path in (source_dir / folder).rglob("*"):
            if path.suffix in (".h", ".cpp"):
                text = path.read_text(encoding="utf-8")
                names.update(re.findall(r"\b(?:class|struct)\s+(\w+)\s*(?:final\s*)?[:{]", text))
            elif path.suffix == ".ui":
                text = path.read_text(encoding="utf-8")
                names.update(re.findall(r"<class>(\w+)</class>", text))
    return names


def context_problems(tree, classes):
    problems = []
    contexts = [context.findtext("name") for context in tree.getroot().iter("context")]
    if not contexts:
        problems.append("lupdate found no text at all")
    for name in contexts:
        if name not in classes:
            problems.append(f"context '{name}' is the name of no class in the sources")
    return problems


def mark(text):
    return MARK_OPEN + (text or "") + MARK_CLOSE


def pseudo_translate(tree):
    for message in tree.getroot().iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        translation.attrib.pop("type", None)
        forms = translation.findall("numerusform")
        if message.get("numerus") == "yes":
            for form in forms or [ElementTree.SubElement(translation, "numerusform")]:
                form.text = mark(source)
        else:
            translation.text = mark(source)


def check_program(lupdate, lrelease, source_dir, out_dir, program, folders):
    ts = out_dir / f"{program}.ts"
    problems = run_lupdate(lupdate, source_dir, folders, ts)
    if not ts.exists():
        return problems + [f"lupdate wrote no {ts}"]
    tree = ElementTree.parse(ts)
    problems += context_problems(tree, declared_classes(source_dir, folders))
    pseudo_translate(tree)
    pseudo = out_dir / f"{program}_pseudo.ts"
    tree.write(pseudo, encoding="utf-8", xml_declaration=True)
    qm = out_dir / f"{program}_pseudo.qm"
    done = subprocess.run([lrelease, str(pseudo), "-qm", str(qm)], capture_output=True, text=True)
    if done.returncode != 0 or not qm.exists():
        problems.append(f"lrelease failed on {pseudo}:\n{done.stdout}{done.stderr}")
    return problems


def main(arguments):
    if len(arguments) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    lupdate, lrelease = arguments[0], arguments[1]
    source_dir, out_dir = pathlib.Path(arguments[2]), pathlib.Path(arguments[3])
    out_dir.mkdir(parents=True, exist_ok=True)
    failed = False
    for program_folders in arguments[4:]:
        program, folders = program_folders.split("=", 1)
        problems = check_program(lupdate, lrelease, source_dir, out_dir, program,
                                 folders.split(","))
        for problem in problems:
            print(f"{program}: {problem}")
        failed = failed or bool(problems)
        print(f"{program}: {'FAILED' if problems else 'texts and contexts as the code has them'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
