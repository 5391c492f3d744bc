#!/usr/bin/env python3
"""Plants faults one at a time in core source files and tells which ones the tests catch.

    scripts/mutants.py [--per-file N] [--seed S] [--tests TARGET]... [--list] src/curve/CurveFile.cpp ...

For each file it finds the places a small fault can go (a comparison flipped, an integer
constant moved by one, + and - swapped, a negation dropped, && and || swapped), takes N of
them spread over the file (the same N for the same seed), and for each: writes the fault,
builds the subsystem's tests (src/<sub>/X.cpp -> <sub>_tests and, where it exists,
<sub>_window_tests, run offscreen; or the --tests targets; or with --whole-suite every test),
runs them and puts the file back. A fault is caught when the tests fail (or hang), uncaught
when they pass; one that does not compile is not counted. A tool, not part of CI: a few dozen faults take a
few minutes with ccache.
"""
import argparse
import os
import random
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# (pattern, replacement) pairs; each pattern's match is one place for one fault.
OPERATORS = [
    (re.compile(r"(?<![<>=!-])<(?![<=])"), "<="),
    (re.compile(r"<=(?!>)"), "<"),
    (re.compile(r"(?<![->=<])>(?![>=])"), ">="),
    (re.compile(r"(?<![>])>="), ">"),
    (re.compile(r"=="), "!="),
    (re.compile(r"!="), "=="),
    (re.compile(r"&&"), "||"),
    (re.compile(r"\|\|"), "&&"),
    (re.compile(r"(?<=[\w)\]] )\+(?= [\w(])"), "-"),
    (re.compile(r"(?<=[\w)\]] )-(?= [\w(])"), "+"),
    (re.compile(r"(?<=return )!"), ""),
]
INTEGER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")


def masked(line):
    """The line with string and character literals and the comment blanked out."""
    out = []
    i = 0
    while i < len(line):
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        if c in "\"'":
            j = i + 1
            while j < len(line) and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            out.append(c + " " * (min(j, len(line)) - i - 1) + (c if j < len(line) else ""))
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out)[: len(line)]


def places(text):
    """Every (line index, column, old, new) where a fault can go."""
    found = []
    in_block = False
    for n, line in enumerate(text.split("\n")):
        stripped = line.strip()
        if in_block:
            if "*/" in line:
                in_block = False
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if stripped.startswith("#") or stripped.startswith("//") or not stripped:
            continue
        m_line = masked(line)
        if re.search(r"\btemplate\b|\bstatic_assert\b|\bstd::\w+<|\w+<\w+>", m_line):
            template_line = True
        else:
            template_line = False
        for pattern, new in OPERATORS:
            for m in pattern.finditer(m_line):
                if template_line and m.group(0) in ("<", ">", "<=", ">="):
                    continue
                found.append((n, m.start(), m.group(0), new))
        for m in INTEGER.finditer(m_line):
            value = int(m.group(1))
            found.append((n, m.start(), m.group(1), str(value + 1)))
            if value > 0:
                found.append((n, m.start(), m.group(1), str(value - 1)))
    return found


def apply(text, place):
    n, col, old, new = place
    lines = text.split("\n")
    line = lines[n]
    assert line[col : col + len(old)] == old
    lines[n] = line[:col] + new + line[col + len(old) :]
    return "\n".join(lines)


def describe(rel, place):
    n, _, old, new = place
    return f"{rel}:{n + 1}: {old} -> {new or '(nothing)'}"


def run(cmd, timeout):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    try:
        r = subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout, env=env)
        return r.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("files", nargs="+")
    ap.add_argument("--per-file", type=int, default=8)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--tests", action="append",
                    help="test target, may repeat (default: <subsystem>_tests and "
                    "<subsystem>_window_tests)")
    ap.add_argument("--build", default=os.environ.get("BUILD_DIR", str(ROOT / "build")))
    ap.add_argument("--list", action="store_true", help="print the faults, plant none")
    ap.add_argument("--whole-suite", action="store_true",
                    help="build everything and run the whole CTest suite for each fault")
    ap.add_argument("--only-uncaught", metavar="LOG",
                    help="plant only the faults an earlier run's output LOG left uncaught")
    args = ap.parse_args()
    retry = None
    if args.only_uncaught:
        retry = {m.group(1) for m in re.finditer(r"UNCAUGHT +(\S+: \S+ -> \S+)",
                                                  Path(args.only_uncaught).read_text())}

    ninja = (Path(args.build) / "build.ninja").read_text()

    def targets_for(sub):
        if args.tests:
            return args.tests
        return [t for t in (f"{sub}_tests", f"{sub}_window_tests")
                if re.search(rf"^build tests/{t}[ :]", ninja, re.M)]

    total = caught_total = 0
    summary = []
    for name in args.files:
        path = (ROOT / name).resolve()
        rel = path.relative_to(ROOT)
        if len(rel.parts) != 3 or rel.parts[0] != "src" or rel.suffix != ".cpp":
            sys.exit(f"{name}: only core files (src/<subsystem>/*.cpp)")
        targets = targets_for(rel.parts[1])
        original = path.read_text()
        all_places = places(original)
        rng = random.Random(f"{args.seed}:{rel}")
        chosen = sorted(rng.sample(all_places, min(args.per_file, len(all_places))))
        if retry is not None:
            chosen = [p for p in chosen if describe(rel, p) in retry]
        caught = uncaught = 0
        missed = []
        try:
            for place in chosen:
                n = place[0]
                where = describe(rel, place)
                if args.list:
                    print(where)
                    continue
                path.write_text(apply(original, place))
                build = ["cmake", "--build", args.build]
                if run(build if args.whole_suite else build + ["--target", *targets], 900) != 0:
                    print(f"  not compiled  {where}")
                    continue
                if args.whole_suite:
                    passed = run(["ctest", "--test-dir", args.build, "-j2", "--timeout", "120",
                                  "--stop-on-failure"], 1800) == 0
                else:
                    passed = all(run([str(Path(args.build) / "tests" / t), "--gtest_brief=1"],
                                     120) == 0 for t in targets)
                if passed:
                    uncaught += 1
                    missed.append(where)
                    print(f"  UNCAUGHT      {where}\n                {original.split(chr(10))[n].strip()}")
                else:
                    caught += 1
                    print(f"  caught        {where}")
                sys.stdout.flush()
        finally:
            path.write_text(original)
        if args.list:
            continue
        count = caught + uncaught
        summary.append((str(rel), caught, count))
        total += count
        caught_total += caught
    if args.list:
        return
    print("\nfile                                   caught")
    for rel, caught, count in summary:
        print(f"{rel:<38} {caught:>3}/{count:<3}")
    if total:
        print(f"{'all':<38} {caught_total:>3}/{total:<3} ({100 * caught_total // total}%)")
    # Leave the build as the tree is.
    if args.whole_suite:
        run(["cmake", "--build", args.build], 900)
        return
    for rel, _, _ in summary:
        run(["cmake", "--build", args.build, "--target", *targets_for(Path(rel).parts[1])], 900)


if __name__ == "__main__":
    main()
