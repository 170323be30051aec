#!/usr/bin/env python3
"""Mutation check of the module code: how many small faults does the suite catch?

Makes a fixed, seeded sample of single-site mutants of the module sources
(launcher/, payload/, carrier/, messages/): a flipped comparison, a swapped
operator, a changed constant, a negated condition. Each mutant is built and
the whole Linux suite run against it in a copy of the tree of its own
(build-mutants/), so the working tree is never touched. The copy is built
with the undefined-behaviour sanitizer's array-bounds check, which the test
command's sanitizer suite also makes. A mutant that makes
a test fail is caught ("killed"); one that builds and passes every test lived;
one that does not build does not count.

    scripts/mutation_check.py                 # 30 mutants, seed 1
    scripts/mutation_check.py --count 60 --seed 7
    scripts/mutation_check.py --list          # the sample, without building
    scripts/mutation_check.py --per-test      # which tests catch each mutant
    scripts/mutation_check.py --dirs sim      # mutants of the host instead

With --per-test every test runs against every mutant (no stop at the first
failure), each mutant's line names the tests that caught it, and a table at
the end counts, for each test, the mutants it caught and those only it caught.
A test that catches nothing in the sample, or only what others catch too, is
one to read again, not one to drop unread: a sample of a few percent of the
sites misses whole behaviours that a single test may be alone in checking.

The sample depends only on the seed, the count and the module sources, so the
same sources give the same mutants: run it before and after a change of the
tests to compare their scores.
"""

import argparse
import pathlib
import random
import re
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MODULE_DIRS = ("launcher", "payload", "carrier", "messages")

# Binary operators as clang-format writes them, with a space either side, so
# that template brackets, pointers and unary minus are left alone.
SWAPS = {
    " < ": " >= ", " > ": " <= ", " <= ": " > ", " >= ": " < ",
    " == ": " != ", " != ": " == ", " && ": " || ", " || ": " && ",
    " + ": " - ", " - ": " + ", " * ": " / ", " / ": " * ",
}
OPERATOR = re.compile("|".join(re.escape(k) for k in sorted(SWAPS, key=len, reverse=True)))
# A numeric literal standing alone (not part of a name), with an optional
# fraction, exponent and suffix.
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d*|\.\d+|\d+)([eE][+-]?\d+)?([fFuUlL]*)(?![\w.])")
BOOLEAN = re.compile(r"\b(true|false)\b")


def code_part(line):
    """The line with string and character literals blanked and any // comment cut,
    so that mutations land only in code."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(" " if c != quote else c)
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def changed_number(text, exponent, suffix):
    if "." in text or exponent:
        value = float(text + (exponent or ""))
        new = "1.0" if value == 0 else repr(value * 1.5)
        return new + suffix.replace("u", "").replace("U", "")
    return str(int(text) + 1) + suffix


def sites(path):
    """Every mutation this file offers, as (line number, column, old, new)."""
    found, in_block_comment = [], False
    for number, line in enumerate(path.read_text().splitlines(), 1):
        stripped = line.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("#") or stripped.startswith("static_assert"):
            continue
        code = code_part(line)
        for m in OPERATOR.finditer(code):
            found.append((number, m.start(), m.group(), SWAPS[m.group()]))
        for m in NUMBER.finditer(code):
            found.append((number, m.start(), m.group(), changed_number(*m.groups())))
        for m in BOOLEAN.finditer(code):
            found.append((number, m.start(), m.group(), "false" if m.group() == "true" else "true"))
        for m in re.finditer(r"\bif \(", code):
            found.append((number, m.start(), "if (", "if (!"))
    return found


def sample(count, seed, folders=MODULE_DIRS):
    candidates = []
    for folder in folders:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in (".cpp", ".h"):
                rel = path.relative_to(ROOT)
                candidates += [(str(rel),) + site for site in sites(path)]
    rng = random.Random(seed)
    return sorted(rng.sample(candidates, min(count, len(candidates)))), len(candidates)


def apply(text, line, column, old, new):
    lines = text.split("\n")
    target = lines[line - 1]
    assert target[column:column + len(old)] == old, (line, column, old)
    lines[line - 1] = target[:column] + new + target[column + len(old):]
    return "\n".join(lines)


def failing_tests(cmd, cwd, timeout):
    """The names of the tests that fail, or None when the suite passes."""
    try:
        out = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                             text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return ["(the whole suite timed out)"]
    if out.returncode == 0:
        return None
    names = re.findall(r"^\s*\d+ - (\S+) \(", out.stdout, re.MULTILINE)
    return names or ["(the suite failed without naming a test)"]


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--count", type=int, default=30, help="mutants in the sample (default 30)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--work", default=str(ROOT / "build-mutants"), help="copy of the tree to mutate")
    parser.add_argument("--dirs", nargs="+", default=list(MODULE_DIRS), help="folders to mutate")
    parser.add_argument("--per-test", action="store_true", help="run every test and say which catch each mutant")
    parser.add_argument("--timeout", type=int, default=300, help="seconds for one suite run")
    args = parser.parse_args()

    mutants, total = sample(args.count, args.seed, args.dirs)
    print(f"{len(mutants)} mutants drawn with seed {args.seed} from {total} sites in {', '.join(args.dirs)}")
    if args.list:
        for path, line, column, old, new in mutants:
            print(f"  {path}:{line}:{column + 1}  {old.strip()!r} -> {new.strip()!r}")
        return 0

    work = pathlib.Path(args.work)
    tree, build = work / "src", work / "build"
    if tree.exists():
        shutil.rmtree(tree)
    shutil.copytree(ROOT, tree, ignore=shutil.ignore_patterns(".git", "build*", "node_modules"))
    # An index pushed past an array's end stops the program, as the sanitizer
    # suite of the test command stops it, rather than passing unseen.
    configure = ["cmake", "-S", str(tree), "-B", str(build), "-DVARNELL_BENCH=OFF",
                 "-DCMAKE_CXX_FLAGS=-fsanitize=bounds -fno-sanitize-recover=bounds"]
    compile_all = ["cmake", "--build", str(build), "-j2"]
    suite = ["ctest", "--test-dir", str(build), "-j2", "--stop-on-failure", "--timeout", "120"]
    def baseline():
        return run(configure, tree, 600) and run(compile_all, tree, 3600) and run(suite, tree, args.timeout)

    # A build left by an older tree (files since moved or renamed) may not
    # link; the unmutated tree is tried once more from a clean build.
    if not baseline():
        shutil.rmtree(build, ignore_errors=True)
        if not baseline():
            print("the unmutated tree does not build or pass its suite; nothing to measure", file=sys.stderr)
            return 2

    if args.per_test:
        suite = [part for part in suite if part != "--stop-on-failure"]
    catches = {}
    killed = lived = unbuilt = 0
    for path, line, column, old, new in mutants:
        source = tree / path
        original = source.read_text()
        source.write_text(apply(original, line, column, old, new))
        try:
            failed = None
            if not run(compile_all, tree, 1800):
                verdict, unbuilt = "does not build", unbuilt + 1
            elif args.per_test:
                failed = failing_tests(suite, tree, args.timeout)
                if failed is None:
                    verdict, lived = "LIVED", lived + 1
                else:
                    verdict, killed = "killed", killed + 1
                    for name in failed:
                        catches.setdefault(name, []).append(len(failed))
            elif run(suite, tree, args.timeout):
                verdict, lived = "LIVED", lived + 1
            else:
                verdict, killed = "killed", killed + 1
        finally:
            source.write_text(original)
        print(f"  {verdict:15} {path}:{line}  {old.strip()!r} -> {new.strip()!r}", flush=True)
        if failed:
            print(f"{'':19}by {', '.join(failed)}", flush=True)
    run(compile_all, tree, 1800)

    if args.per_test:
        print("tests that caught mutants (caught, caught alone):")
        for name, sizes in sorted(catches.items(), key=lambda item: (-item[1].count(1), -len(item[1]))):
            print(f"  {len(sizes):3} {sizes.count(1):3}  {name}")

    built = killed + lived
    score = 100.0 * killed / built if built else 0.0
    print(f"mutation score: {killed} of {built} built mutants killed ({score:.0f}%), {unbuilt} did not build")
    return 0


if __name__ == "__main__":
    sys.exit(main())
