#!/usr/bin/env python3
"""velmira-stats under the machine's faults: a kill at a random moment of
--install and of --output --replace, a full disk, two installs into one
folder at once, and a dangling link planted where a table goes. After each,
the folder holds the old set of tables or the new set, whole, and a failure
says why in Russian.

usage: write_faults.py VELMIRA_STATS LOG [ROUNDS]

The full-disk cases mount a small tmpfs and so need root; elsewhere they are
skipped with a message. WRITE_FAULTS_SEED repeats a run's random delays.
"""

import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

TABLES = ("Statistics_1.txt", "Statistics_2.txt")
STAGING = ".velmira-stats.new"
LOCK = ".velmira-stats.lock"
FOLDER_LOCKED = 6  # the exit status of a folder another program is writing
NOT_WRITTEN = 5

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text, flush=True)


def run(program, *arguments):
    env = dict(os.environ, LC_ALL="C.UTF-8")
    return subprocess.run([program, *arguments], capture_output=True, text=True, env=env)


def read(path):
    try:
        with open(path, "rb") as file:
            return file.read()
    except FileNotFoundError:
        return None


def current(folder, name):
    """What the calculator reads for name: the staged file while a committed
    journal names it, else the folder's own."""
    journal = read(os.path.join(folder, STAGING, "journal"))
    if journal is not None:
        names = [line.split(b"\t")[0].decode() for line in journal.splitlines()[1:] if line]
        staged = os.path.join(folder, STAGING, name)
        if name in names and os.path.isfile(staged):
            return read(staged)
    return read(os.path.join(folder, name))


def tables(folder, reader=current):
    return tuple(reader(folder, name) for name in TABLES)


def own(folder, name):
    return read(os.path.join(folder, name))


def log_subset(log, rows, path):
    with open(log, "rb") as file:
        lines = file.read().splitlines(keepends=True)
    with open(path, "wb") as file:
        file.writelines(lines[: rows + 1])
    return path


def make_set(program, log, folder):
    os.makedirs(folder)
    result = run(program, "--output", folder, log)
    if result.returncode != 0:
        sys.exit("cannot build tables from %s: %s" % (log, result.stderr))
    return tables(folder)


def copy_set(source, folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name in TABLES:
        shutil.copy(os.path.join(source, name), folder)


def leftovers(folder):
    return [name for name in (STAGING, LOCK) if os.path.lexists(os.path.join(folder, name))]


def timed(program, *arguments):
    start = time.monotonic()
    result = run(program, *arguments)
    return time.monotonic() - start, result


def kill_at_random(program, arguments, duration):
    """Half the kills anywhere in the run, half in its last fifth, where the
    files are written (the start-up takes most of a short run)."""
    process = subprocess.Popen([program, *arguments], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    share = random.uniform(0, 1.0) if random.random() < 0.5 else random.uniform(0.75, 1.05)
    time.sleep(share * duration)
    process.kill()
    return process.wait() == -9


def kill_loop_install(program, work, old, new, rounds):
    """--install killed anywhere: the calculator reads the old set or the new;
    the next install completes or drops what was left, and leaves nothing."""
    folder = os.path.join(work, "kill-install")
    copy_set(old, folder)
    expected_old, expected_new = tables(old), tables(new)
    durations = []
    for _ in range(3):
        copy_set(old, folder)
        duration, result = timed(program, "--install", folder, new)
        if result.returncode != 0:
            return fail("--install without a kill: %s" % result.stderr)
        durations.append(duration)
    duration = sorted(durations)[1]
    counts = {"old": 0, "new": 0, "finished": 0}
    for _ in range(rounds):
        copy_set(old, folder)
        killed = kill_at_random(program, ["--install", folder, new], duration)
        seen = tables(folder)
        if seen == expected_old:
            counts["old" if killed else "finished"] += 1
        elif seen == expected_new:
            counts["new" if killed else "finished"] += 1
        else:
            fail("--install killed: the folder holds neither the old tables nor the new "
                 "(sizes %s)" % [None if t is None else len(t) for t in seen])
            continue
        # The next writer completes a committed set, and then writes its own.
        result = run(program, "--install", folder, old)
        if result.returncode != 0 or tables(folder, own) != expected_old or leftovers(folder):
            fail("--install after a killed one: exit %d, left %s: %s"
                 % (result.returncode, leftovers(folder), result.stderr))
        for name in os.listdir(folder):
            kept = own(folder, name)
            if name.startswith("Statistics_") and kept not in expected_old + expected_new:
                fail("--install killed: %s is no whole table" % name)
    print("--install killed %d times at random: old set %d, new set %d, finished first %d"
          % (rounds, counts["old"], counts["new"], counts["finished"]), flush=True)


def same_log(a, b):
    """Tables built from one log say when they were written; the rest is equal."""
    stamp = re.compile(rb"\d{2}\.\d{2}\.\d{4},? \d{2}:\d{2}(:\d{2})?")
    return a is not None and b is not None and stamp.sub(b"", a) == stamp.sub(b"", b)


def kill_loop_output(program, work, old_log, new_log, rounds):
    folder = os.path.join(work, "kill-output")
    reference_old = make_set(program, old_log, os.path.join(work, "reference-old"))
    reference_new = make_set(program, new_log, os.path.join(work, "reference-new"))
    # Timed as the killed runs go, over an existing set.
    timing = os.path.join(work, "timing")
    make_set(program, old_log, timing)
    duration = sorted(timed(program, "--output", timing, "--replace", new_log)[0]
                      for _ in range(3))[1]
    counts = {"old": 0, "new": 0, "finished": 0}
    for _ in range(rounds):
        shutil.rmtree(folder, ignore_errors=True)
        make_set(program, old_log, folder)
        before = tables(folder)
        killed = kill_at_random(program, ["--output", folder, "--replace", new_log], duration)
        seen = tables(folder)
        if seen == before:
            counts["old" if killed else "finished"] += 1
        elif all(same_log(a, b) for a, b in zip(seen, reference_new)):
            counts["new" if killed else "finished"] += 1
        else:
            fail("--output --replace killed: neither the old tables nor the new (%s)"
                 % ["missing" if t is None else
                    "old" if same_log(t, r) else "new" if same_log(t, n) else "broken"
                    for t, r, n in zip(seen, reference_old, reference_new)])
    print("--output --replace killed %d times at random: old set %d, new set %d, "
          "finished first %d" % (rounds, counts["old"], counts["new"], counts["finished"]),
          flush=True)


def two_at_once(program, work, old, first, second, rounds):
    folder = os.path.join(work, "two")
    sets = {first: tables(first), second: tables(second)}
    locked = 0
    for _ in range(rounds):
        copy_set(old, folder)
        processes = {source: subprocess.Popen([program, "--install", folder, source],
                                              stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                              text=True)
                     for source in (first, second)}
        outcome = {source: (p.wait(), p.stderr.read()) for source, p in processes.items()}
        for p in processes.values():
            p.stdout.close()
            p.stderr.close()
        seen = tables(folder)
        installed = [source for source, (code, _) in outcome.items() if code == 0]
        for source, (code, error) in outcome.items():
            if code == FOLDER_LOCKED:
                locked += 1
                if "изменяет другая программа" not in error or "velmira-stats" not in error:
                    fail("two installs: the lock's holder not named: %s" % error)
            elif code != 0:
                fail("two installs: exit %d: %s" % (code, error))
        if not installed or seen not in [sets[source] for source in installed]:
            fail("two installs: the folder holds no one install's tables whole")
        if leftovers(folder):
            fail("two installs: left %s" % leftovers(folder))
    print("two installs at once, %d rounds: the second refused as locked %d times"
          % (rounds, locked), flush=True)


def dangling_link(program, work, old, new, log):
    folder = os.path.join(work, "link")
    victim = os.path.join(work, "victim", "created-by-install.txt")
    os.makedirs(os.path.dirname(victim))
    refused = len(failures)
    for arguments in (["--install", folder, new], ["--output", folder, "--replace", log]):
        if os.path.lexists(victim):
            os.remove(victim)
        copy_set(old, folder)
        link = os.path.join(folder, TABLES[0])
        os.remove(link)
        os.symlink("../victim/created-by-install.txt", link)
        before = tables(folder, own)
        result = run(program, *arguments)
        if (result.returncode != NOT_WRITTEN or os.path.lexists(victim)
                or not os.path.islink(link) or tables(folder, own) != before
                or "ссылка" not in result.stderr):
            fail("%s over a dangling link: exit %d, victim %s: %s"
                 % (arguments[0], result.returncode,
                    "created" if os.path.lexists(victim) else "absent", result.stderr))
    if len(failures) == refused:
        print("a dangling link where a table goes: refused, followed nowhere", flush=True)


def full_disk(program, work, old, new, log):
    if os.geteuid() != 0:
        print("SKIP: the full-disk cases mount a tmpfs and need root", flush=True)
        return
    disk = os.path.join(work, "disk")
    os.makedirs(disk)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk]).returncode:
        print("SKIP: no tmpfs could be mounted here", flush=True)
        return
    before_failures = len(failures)
    try:
        for free in (0, 4096, 8192):
            for name in os.listdir(disk):
                os.remove(os.path.join(disk, name))
            for name in TABLES:
                shutil.copy(os.path.join(old, name), disk)
            filler = os.open(os.path.join(disk, "filler"), os.O_WRONLY | os.O_CREAT)
            try:
                while os.write(filler, b"\0" * 1024):
                    pass
            except OSError:
                pass
            os.close(filler)
            os.truncate(os.path.join(disk, "filler"),
                        max(0, os.path.getsize(os.path.join(disk, "filler")) - free))
            before = tables(disk, own)
            for arguments, expected in (
                    (["--install", disk, new], tables(new)),
                    (["--output", disk, "--replace", log], None),
                    (["--check", "--all-cases", "--tables", disk, "--json",
                      os.path.join(disk, "check.json"), log], before)):
                result = run(program, *arguments)
                seen = tables(disk, own)
                json = own(disk, "check.json")
                if result.returncode == 0:
                    whole = (seen in (before, expected) if expected is not None
                             else all(t and t.endswith(b"\n") for t in seen)) and json != b""
                    if not whole:
                        fail("%s with %d bytes free: exit 0 and a short file"
                             % (arguments[0], free))
                    continue
                if "на диске нет места" not in result.stderr or "Unknown error" in result.stderr:
                    fail("%s with %d bytes free: exit %d: %s"
                         % (arguments[0], free, result.returncode, result.stderr))
                if seen != before or json == b"" or leftovers(disk):
                    fail("%s with %d bytes free changed the folder" % (arguments[0], free))
                before = seen
        if len(failures) == before_failures:
            print("a full disk (64 KB tmpfs, 0 to 8 KB free): tables kept whole, said in "
                  "Russian", flush=True)
    finally:
        subprocess.run(["umount", disk])


def main():
    program, log = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 50
    seed = int(os.environ.get("WRITE_FAULTS_SEED", random.randrange(1 << 30)))
    random.seed(seed)
    print("seed %d" % seed, flush=True)
    with tempfile.TemporaryDirectory() as work:
        with open(log, "rb") as file:
            rows = len(file.read().splitlines()) - 1
        logs = [log_subset(log, rows * share // 100, os.path.join(work, "log-%d.csv" % share))
                for share in (100, 80, 60)]
        sets = [os.path.join(work, "set-%d" % number) for number in range(3)]
        for number, path in enumerate(sets):
            make_set(program, logs[number], path)
        if len({tables(path) for path in sets}) != 3:
            sys.exit("the three logs give the same tables; the checks could not tell them apart")
        dangling_link(program, work, sets[0], sets[1], logs[1])
        full_disk(program, work, sets[0], sets[1], logs[1])
        two_at_once(program, work, sets[0], sets[1], sets[2], 40)
        kill_loop_install(program, work, sets[0], sets[1], rounds)
        kill_loop_output(program, work, logs[0], logs[1], rounds)
    if failures:
        sys.exit("%d failures (seed %d)" % (len(failures), seed))


if __name__ == "__main__":
    main()
