#!/usr/bin/env python3
"""Replays the faults of tests/faults/faults.txt against the fast tests.

Each fault is applied alone to a scratch copy of the tree (one exact text replacement in one file
of src/), the copy is built incrementally and `ctest -LE slow` runs until its first failure. A fault
that no test notices survived. Exits non-zero when any fault survived, no longer applies (its text
is not in the file exactly once) or does not compile.

    scripts/faults.py                    every fault (about 40 s each on 2 cores, after a first build)
    scripts/faults.py --check            only that every fault still applies to the sources
    scripts/faults.py --only REGEX       the faults whose description matches REGEX

The scratch copy and its build stay in build/faults (ZUX_FAULTS_DIR), so a later run builds only
what changed. The packaging tests (InstallConsumer, DebianPackage) are left out: they build other
projects against the library and catch none of these faults, at 20 s each.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_LIST = os.path.join(ROOT, "tests", "faults", "faults.txt")


class Fault:
    def __init__(self, description, path, search, replacement, line):
        self.description = description
        self.path = path
        self.search = search
        self.replacement = replacement
        self.line = line


def read_faults(list_path):
    """Blocks of '=== description', '--- path', the search lines, '+++', the replacement lines.
    Lines before the first block starting with '#' are comments; inside a block every line counts."""
    faults = []
    block = None
    part = None
    with open(list_path, encoding="utf-8") as text:
        for number, line in enumerate(text.read().split("\n"), 1):
            if line.startswith("=== "):
                block = {"description": line[4:].strip(), "line": number, "search": [], "replacement": []}
                faults.append(block)
                part = None
            elif block is None:
                if line.strip() and not line.startswith("#"):
                    sys.exit(f"{list_path}:{number}: text outside a fault")
            elif part is None and line.startswith("--- "):
                block["path"] = line[4:].strip()
                part = "search"
            elif part == "search" and line == "+++":
                part = "replacement"
            elif part is not None:
                block[part].append(line)
            elif line.strip():
                sys.exit(f"{list_path}:{number}: expected '--- path' after the description")
    result = []
    for block in faults:
        if "path" not in block or not block["search"]:
            sys.exit(f"{list_path}:{block['line']}: a fault needs a path, search lines and '+++'")
        # Blank lines that end a block only separate it from the next.
        for part in ("search", "replacement"):
            while block[part] and not block[part][-1].strip():
                block[part].pop()
        result.append(Fault(block["description"], block["path"], "\n".join(block["search"]),
                            "\n".join(block["replacement"]), block["line"]))
    return result


def applies(fault, tree):
    path = os.path.join(tree, fault.path)
    if not fault.path.startswith("src/") or not os.path.isfile(path):
        return f"no file {fault.path} in src/"
    with open(path, encoding="utf-8") as source:
        count = source.read().count(fault.search)
    return None if count == 1 else f"its text is in {fault.path} {count} times, not once"


def sync_tree(tree):
    """Copies the working tree (what git tracks or would track) into `tree`, writing only the files
    that differ, so that the scratch build stays incremental; files gone from the tree go."""
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT, check=True,
                            capture_output=True).stdout.decode().split("\0")
    wanted = {name for name in listed if name and os.path.isfile(os.path.join(ROOT, name))}
    for name in sorted(wanted):
        source = os.path.join(ROOT, name)
        target = os.path.join(tree, name)
        with open(source, "rb") as f:
            content = f.read()
        if os.path.isfile(target):
            with open(target, "rb") as f:
                if f.read() == content:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(content)
        shutil.copymode(source, target)
    for directory, _, files in os.walk(tree):
        for name in files:
            relative = os.path.relpath(os.path.join(directory, name), tree)
            if relative not in wanted:
                os.remove(os.path.join(directory, name))


def run(command, timeout, log):
    """Runs `command`, its output appended to `log`: True when it exits 0 within `timeout` seconds."""
    with open(log, "a") as out:
        out.write("\n$ " + " ".join(command) + "\n")
        out.flush()
        try:
            return subprocess.run(command, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode == 0
        except subprocess.TimeoutExpired:
            out.write(f"\n(timed out after {timeout} s)\n")
            return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", default=DEFAULT_LIST, help="the fault list (default tests/faults/faults.txt)")
    parser.add_argument("--dir", default=os.environ.get("ZUX_FAULTS_DIR", os.path.join(ROOT, "build", "faults")),
                        help="scratch directory for the copy and its build")
    parser.add_argument("--only", help="only the faults whose description matches this regular expression")
    parser.add_argument("--check", action="store_true", help="only check that every fault applies")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=120, help="seconds for each test (default 120)")
    parser.add_argument("--exclude", default="^(InstallConsumer|DebianPackage)$",
                        help="tests left out, as a ctest -E expression")
    args = parser.parse_args()

    faults = read_faults(args.list)
    if args.only:
        faults = [f for f in faults if re.search(args.only, f.description)]
    stale = [(f, applies(f, ROOT)) for f in faults]
    stale = [(f, why) for f, why in stale if why]
    for fault, why in stale:
        print(f"DOES NOT APPLY  {fault.description} ({os.path.relpath(args.list, ROOT)}:{fault.line}): {why}")
    print(f"{len(faults)} faults, {len(faults) - len(stale)} apply")
    if args.check or stale:
        return 1 if stale else 0

    tree = os.path.join(args.dir, "tree")
    build = os.path.join(args.dir, "build")
    log = os.path.join(args.dir, "faults.log")
    os.makedirs(tree, exist_ok=True)
    open(log, "w").close()
    sync_tree(tree)
    configure = ["cmake", "-S", tree, "-B", build, "-DCMAKE_BUILD_TYPE=Debug", "-DZUX_BUILD_BENCHMARKS=OFF"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    make = ["cmake", "--build", build, "-j", str(args.jobs)]
    test = ["ctest", "--test-dir", build, "-LE", "slow", "-E", args.exclude, "-j", str(args.jobs), "--timeout",
            str(args.timeout), "--stop-on-failure"]
    # The tests that need the comma locale fail rather than skip, as in scripts/test.sh.
    os.environ["ZUX_REQUIRE_LOCALE"] = "1"
    print(f"building the unchanged copy in {build} (output in {log})")
    if not run(configure, 600, log) or not run(make, 3600, log) or not run(test, 1200, log):
        print(f"the unchanged tree does not build or pass its tests: see {log}")
        return 2

    caught, survived, broken = [], [], []
    started = time.time()
    for index, fault in enumerate(faults, 1):
        path = os.path.join(tree, fault.path)
        with open(path, encoding="utf-8") as source:
            original = source.read()
        with open(path, "w", encoding="utf-8") as source:
            source.write(original.replace(fault.search, fault.replacement, 1))
        try:
            with open(log, "a") as out:
                out.write(f"\n==== {fault.description}\n")
            if not run(make, 1800, log):
                outcome, bucket = "DOES NOT COMPILE", broken
            elif run(test, 1800, log):
                outcome, bucket = "SURVIVED", survived
            else:
                outcome, bucket = "caught", caught
        finally:
            with open(path, "w", encoding="utf-8") as source:
                source.write(original)
        bucket.append(fault)
        print(f"[{index}/{len(faults)}] {outcome:16} {fault.description}", flush=True)

    minutes = (time.time() - started) / 60
    print(f"\n{len(caught)} caught, {len(survived)} survived, {len(broken)} did not compile "
          f"({len(faults)} faults, {minutes:.0f} min)")
    for fault in survived:
        print(f"  survived: {fault.description} ({fault.path})")
    for fault in broken:
        print(f"  did not compile: {fault.description} ({fault.path})")
    return 1 if survived or broken else 0


if __name__ == "__main__":
    sys.exit(main())
