#!/usr/bin/env python3
"""Puts plausible wrong lines into the program one at a time and counts how many the tests catch.

Each mutant, from the lists in scripts/mutants/, replaces one piece of text that occurs exactly
once in its file. The program and the tests are built in their own build folder, then the tests
named by the mutant run first (a quick answer for a mutant they catch) and, if they all pass, the
whole suite runs. A mutant is caught when any test fails; it survives when the whole suite passes.
The file is put back after every mutant, also when the run is interrupted.

  scripts/mutation.py [--check] [--build-dir DIR] [--only TEXT] [--matrix FILE] [LIST...]

  --check        only read the lists and check every mutant still finds its text once
  --build-dir    the build folder (default: build-mutation, made when missing)
  --only TEXT    only the mutants whose file or title contains TEXT
  --matrix FILE  run the whole suite for every mutant and write, as JSON, which tests fail for
                 each: a test that is the only one catching some mutant is not one to delete

A list entry:

  == src/midi/MidiStreamParser.cpp: a data byte taken for a status byte
  tests: midi_tests|MidiStream
  - if (byte & 0x80) {
  + if (byte & 0x40) {

The "tests:" line (a ctest -R expression) is optional. Lines starting with # are comments.
"""

import argparse
import dataclasses
import glob
import json
import re
import os
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


@dataclasses.dataclass
class Mutant:
    source: str  # the list file and line, for messages
    path: str
    title: str
    tests: str = ""
    before: str = ""
    after: str = ""


def read_lists(paths):
    mutants = []
    for list_path in paths:
        with open(list_path, encoding="utf-8") as f:
            lines = f.read().splitlines()
        for number, line in enumerate(lines, 1):
            where = f"{os.path.relpath(list_path, ROOT)}:{number}"
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("== "):
                path, _, title = line[3:].partition(": ")
                mutants.append(Mutant(where, path.strip(), title.strip()))
            elif not mutants:
                sys.exit(f"{where}: a mutant starts with '== FILE: title'")
            elif line.startswith("tests: "):
                mutants[-1].tests = line[len("tests: "):].strip()
            elif line.startswith("- "):
                mutants[-1].before = line[2:]
            elif line.startswith("+ "):
                mutants[-1].after = line[2:]
            elif line == "+":
                mutants[-1].after = ""
            else:
                sys.exit(f"{where}: not understood: {line}")
    return mutants


def problem(mutant):
    """Why the mutant cannot be applied, or None."""
    if not mutant.before:
        return "no '- text' line"
    if mutant.before == mutant.after:
        return "the replacement changes nothing"
    full = os.path.join(ROOT, mutant.path)
    if not os.path.isfile(full):
        return f"no file {mutant.path}"
    with open(full, encoding="utf-8") as f:
        count = f.read().count(mutant.before)
    if count != 1:
        return f"its text occurs {count} times in {mutant.path}"
    return None


def run(command, log, timeout=None):
    with open(log, "a", encoding="utf-8") as out:
        out.write("\n$ " + " ".join(command) + "\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return 124


def tests_fail(build, log, regex=None):
    command = ["ctest", "--test-dir", build, "--timeout", "120", "-j2", "--stop-on-failure", "--output-on-failure"]
    if regex:
        command += ["-R", regex]
    return run(command, log) != 0


def failing_tests(build, log):
    """The names of the failing tests: ctest's, and each QtTest function that failed inside one."""
    out = subprocess.run(["ctest", "--test-dir", build, "--timeout", "120", "-j2", "--output-on-failure"],
                         cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True).stdout
    with open(log, "a", encoding="utf-8") as f:
        f.write(out)
    names = set(re.findall(r"^\s*\d+ - (\S+) \(", out, re.MULTILINE))
    names |= set(re.findall(r"^FAIL!  : (\w+::\w+)\(", out, re.MULTILINE))
    return sorted(names)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-mutation"))
    parser.add_argument("--only", default="")
    parser.add_argument("--matrix", default="")
    parser.add_argument("lists", nargs="*")
    args = parser.parse_args()

    lists = args.lists or sorted(glob.glob(os.path.join(ROOT, "scripts", "mutants", "*.txt")))
    mutants = [m for m in read_lists(lists) if args.only in m.path or args.only in m.title]
    broken = [(m, problem(m)) for m in mutants if problem(m)]
    for m, why in broken:
        print(f"{m.source}: {why}")
    if args.check or broken:
        print(f"{len(mutants)} mutants, {len(broken)} that cannot be applied")
        return 1 if broken else 0

    build = os.path.abspath(args.build_dir)
    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    log = os.path.join(build, "mutation.log")
    os.makedirs(build, exist_ok=True)
    open(log, "w").close()
    if not os.path.isfile(os.path.join(build, "CMakeCache.txt")):
        run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release"], log)
    if run(["cmake", "--build", build], log) != 0 or tests_fail(build, log):
        sys.exit(f"the unchanged program does not build or pass its tests: see {log}")

    # Ctrl+C or a killed run still puts the file back.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))
    results = []
    matrix = {}
    started = time.monotonic()
    for index, m in enumerate(mutants, 1):
        full = os.path.join(ROOT, m.path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        with open(log, "a", encoding="utf-8") as out:
            out.write(f"\n==== {index} {m.path}: {m.title}\n")
        try:
            with open(full, "w", encoding="utf-8") as f:
                f.write(original.replace(m.before, m.after, 1))
            if run(["cmake", "--build", build], log) != 0:
                verdict = "does not compile"
            elif args.matrix:
                failing = failing_tests(build, log)
                matrix[f"{m.path}: {m.title}"] = failing
                verdict = "caught" if failing else "SURVIVED"
            elif m.tests and tests_fail(build, log, m.tests):
                verdict = "caught"
            elif tests_fail(build, log):
                verdict = "caught"
            else:
                verdict = "SURVIVED"
        finally:
            with open(full, "w", encoding="utf-8") as f:
                f.write(original)
        results.append((m, verdict))
        print(f"[{index}/{len(mutants)}] {verdict}: {m.path}: {m.title}", flush=True)

    run(["cmake", "--build", build], log)
    if args.matrix:
        with open(args.matrix, "w", encoding="utf-8") as f:
            json.dump(matrix, f, indent=1)
    caught = sum(1 for _, v in results if v == "caught")
    survivors = [m for m, v in results if v == "SURVIVED"]
    unbuilt = [m for m, v in results if v == "does not compile"]
    minutes = (time.monotonic() - started) / 60
    print(f"\ncaught {caught} of {len(results)} mutants ({len(survivors)} survived, "
          f"{len(unbuilt)} did not compile) in {minutes:.0f} min")
    for m in survivors:
        print(f"  survived: {m.source} {m.path}: {m.title}")
    for m in unbuilt:
        print(f"  did not compile: {m.source} {m.path}: {m.title}")
    return 1 if unbuilt else 0


if __name__ == "__main__":
    sys.exit(main())
