#!/usr/bin/env python3
"""Turns the output of scripts/bench.sh into bench/RESULTS.md and the data file of the chart.

Every figure in the report comes from the files named on the command line: the Google Benchmark
JSON of zux_bench, the lines of zux_bench_memory and, when present, the callgrind profiles. Times
are medians, over the repetitions, of the CPU time per iteration; for the file save, of the
wall-clock time, since the CPU does not count the wait for the disk.
"""

import argparse
import json
import math
import os
import re
import statistics
import subprocess
import sys

LIBRARIES = ["pugixml", "zux", "model", "model-string", "model-api", "model-generation", "model-registry",
             "libxml2", "tinyxml2"]
MODELS = ["model", "model-string", "model-api", "model-generation", "model-registry"]
CHART_LIBRARIES = ["zux", "model", "model-string", "model-api", "libxml2", "tinyxml2"]  # bench/chart.gp's columns
PEERS = ["libxml2", "tinyxml2"]
CORPORA = ["freedesktop", "iso_639-3", "generated"]
REAL_CORPORA = ["freedesktop", "iso_639-3"]
WORKLOADS = ["parse", "walk", "siblings", "xpath", "save-raw", "save-indented", "save-file", "build", "remove",
             "remove-each"]
# Timed in wall-clock time (Google Benchmark's UseRealTime, which adds "/real_time" to the name).
REAL_TIME_WORKLOADS = ["save-file"]
BUILD_CORPUS = "100k"
REMOVE_CORPUS = "1M"
REMOVE_EACH_CORPUS = "100k"
# What the before-and-after runs compare, ZuX / raw pugixml in each.
COMPARED = ["parse", "walk", "siblings", "xpath", "build", "remove", "remove-each"]

# Goals, as limits on ZuX / raw pugixml, or on peer / ZuX for parse + walk.
SPEED_GOALS = [("parse", 1.03), ("xpath", 1.03), ("xpath-compiled", 1.03), ("save-raw", 1.03),
               ("save-indented", 1.03)]
# Queries with a bound prefix against the same with local-name() and namespace-uri() written by hand.
NAMESPACE_GOAL = 2.0
POSITIONS_SHARE = 8
WALK_GOAL = 1.45
BUILD_GOAL = 1.30
REMOVE_EACH_GOAL = 3.0
MEMORY_GOAL = 1.05
PEER_GOALS = [("libxml2", 3.0), ("tinyxml2", 1.5)]

CORPUS_ATTRIBUTES = {
    "freedesktop": "`weight` / `type`",
    "iso_639-3": "`id` / `name`",
    "generated": "`id` / `name`",
}


# --- reading --------------------------------------------------------------------------------------

class Results:
    """The repetitions of every benchmark, by its name workload/corpus/library."""

    def __init__(self, *paths):
        self.context = {}
        self.runs = {}
        for path in paths:
            with open(path) as f:
                data = json.load(f)
            self.context = self.context or data["context"]
            for entry in data["benchmarks"]:
                if entry.get("run_type") == "iteration" and not entry.get("error_occurred"):
                    name = entry["run_name"]
                    if name.endswith("/real_time"):
                        name = name[:-len("/real_time")]
                    self.runs.setdefault(name, []).append(entry)

    def has(self, workload, corpus, library):
        return f"{workload}/{corpus}/{library}" in self.runs

    def times(self, workload, corpus, library):
        key = "real_time" if workload in REAL_TIME_WORKLOADS else "cpu_time"
        return [run[key] for run in self.runs.get(f"{workload}/{corpus}/{library}", [])]

    def median(self, workload, corpus, library):
        times = self.times(workload, corpus, library)
        return statistics.median(times) if times else None

    def spread(self, workload, corpus, library):
        """Interquartile range / median over the repetitions: how far apart the middle half lies."""
        times = self.times(workload, corpus, library)
        if len(times) < 4:
            return None
        q1, median, q3 = statistics.quantiles(times, n=4)
        return (q3 - q1) / median

    def counter(self, workload, corpus, library, name):
        values = [run.get(name) for run in self.runs.get(f"{workload}/{corpus}/{library}", [])]
        values = [v for v in values if v is not None and not math.isnan(v)]
        return statistics.median(values) if values else None

    def ratio(self, workload, corpus, numerator, denominator):
        a = self.median(workload, corpus, numerator)
        b = self.median(workload, corpus, denominator)
        return a / b if a is not None and b else None

    def parse_walk_ratio(self, corpus, peer):
        """(peer parse + walk) / (ZuX parse + walk)."""
        zux = [self.median(w, corpus, "zux") for w in ("parse", "walk")]
        other = [self.median(w, corpus, peer) for w in ("parse", "walk")]
        return None if None in zux or None in other else sum(other) / sum(zux)

    def corpora(self):
        return [c for c in CORPORA if self.has("parse", c, "pugixml")]

    def corpus_info(self):
        info = {}
        for key, value in self.context.items():
            if key.startswith("corpus:"):
                info[key[len("corpus:"):]] = dict(part.split("=", 1) for part in value.split(" ", 2))
        return info

    def repetitions(self):
        return max((len(v) for v in self.runs.values()), default=0)


def load_memory(path):
    """Per library: (median peak KiB, median baseline KiB, runs)."""
    if not path or not os.path.exists(path):
        return {}
    peaks, baselines = {}, {}
    with open(path) as f:
        for line in f:
            row = json.loads(line) if line.strip() else {}
            if "library" in row and "removals" not in row:
                peaks.setdefault(row["library"], []).append(row["peak_kib"])
                baselines.setdefault(row["library"], []).append(row["baseline_kib"])
    return {lib: (statistics.median(peaks[lib]), statistics.median(baselines[lib]), len(peaks[lib]))
            for lib in peaks}


def load_churn(path):
    """The churn runs of zux_bench_memory: dicts with churn (cycles), idle, early_kib and peak_kib."""
    if not path or not os.path.exists(path):
        return []
    with open(path) as f:
        return [row for row in (json.loads(line) for line in f if line.strip()) if "churn" in row]


def load_removals(path):
    """The removal runs of zux_bench_memory: dicts with removals, subtree, library, early_kib, peak_kib."""
    if not path or not os.path.exists(path):
        return []
    with open(path) as f:
        return [row for row in (json.loads(line) for line in f if line.strip()) if "removals" in row]


def load_profile(directory, name):
    """(instructions per unit, [(function, instructions per unit)], unit) of one callgrind run.

    Callgrind counted only inside the profiled function; the run's own benchmark JSON gives how
    often it ran and the units (visited nodes for a walk, the elements built otherwise).
    """
    out = os.path.join(directory, name + ".callgrind")
    meta = os.path.join(directory, name + ".json")
    if not (os.path.exists(out) and os.path.exists(meta)):
        return None
    with open(meta) as f:
        runs = [b for b in json.load(f)["benchmarks"] if b.get("run_type") == "iteration"]
    if not runs:
        return None
    unit = "node" if runs[0].get("nodes") else "element"
    # Every run of the profiled function counts: the timed iterations and the untimed warm-up.
    calls = runs[0].get("runs", runs[0]["iterations"])
    per = calls * (runs[0].get("nodes") or 100000)
    annotated = subprocess.run(["callgrind_annotate", "--inclusive=no", out],
                               capture_output=True, text=True).stdout
    total, functions = None, []
    for line in annotated.splitlines():
        m = re.match(r"\s*([\d,]+)\s+\(\s*[\d.]+%\)\s+(.*)$", line)
        if not m:
            continue
        count, what = int(m.group(1).replace(",", "")), m.group(2)
        if "PROGRAM TOTALS" in what:
            total = count
        else:
            functions.append((readable_function(what), count / per))
    return (total / per, functions, unit) if total else None


def readable_function(what):
    """The function's name without its source file, object file and the longest template spellings."""
    function = what.split(":", 1)[1] if re.match(r"^[^ ]*:", what) else what
    library = re.search(r"\[([^\]]*)\]$", function)
    function = re.sub(r"\s*\[[^\]]*\]$", "", function)
    if function.startswith("0x") and library:  # a function without a symbol: name its library
        function = f"{os.path.basename(library.group(1))} at {function}"
    for pattern, replacement in [
            (r"std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >", "std::string"),
            (r"boost::detail::sp_counted_impl_pd<([^*]+)\*, boost::detail::sp_ms_deleter<[^>]+> >",
             r"sp_counted_impl_pd<\1>"),
            (r"boost::detail::sp_if_not_array<[^>]+>::type ", ""),
            (r"zuxbench::model::", "model::"),
            (r"zuxbench::", ""),
            (r"\(anonymous namespace\)::", "")]:
        function = re.sub(pattern, replacement, function)
    return function if len(function) <= 100 else function[:99] + "…"


# --- formatting -----------------------------------------------------------------------------------

def fmt_ms(value):
    if value is None:
        return ""
    for limit, digits in ((100, 0), (10, 1), (1, 2)):
        if value >= limit:
            return f"{value:.{digits}f}"
    return f"{value:.3f}"


def fmt_ratio(value):
    return "" if value is None else f"{value:.2f}"


def fmt_count(value):
    if value is None:
        return ""
    return "0" if value == 0 else (f"{value:.3g}" if value < 1000 else f"{value:,.0f}")


def verdict(ok):
    return "met" if ok else "**missed**"


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "|".join("---" for _ in header) + "|"]
    lines += ["| " + " | ".join(str(cell) for cell in row) + " |" for row in rows]
    return "\n".join(lines) + "\n"


def corpora_of(workload, corpora):
    return {"build": [BUILD_CORPUS], "remove": [REMOVE_CORPUS], "remove-each": [REMOVE_EACH_CORPUS]}.get(workload,
                                                                                                        corpora)


# --- sections -------------------------------------------------------------------------------------

def setup_section(r, versions, elapsed):
    context = r.context
    load = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    rows = [["date", context.get("date", "")],
            ["machine", f"{context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz, "
                        f"load average at start {load}"],
            ["repetitions", str(r.repetitions())]]
    if versions and os.path.exists(versions):
        with open(versions) as f:
            rows += [[part.strip() for part in line.split(":", 1)] for line in f if ":" in line]
    if elapsed:
        rows.append(["bench.sh run time up to this report", f"{float(elapsed):.0f} s"])
    text = "## Setup\n\n" + table(["", ""], rows) + "\n"
    missing = [key[len("missing:"):] for key in context if key.startswith("missing:")]
    if missing:
        text += "Missing input files (their benchmarks were left out): " + ", ".join(missing) + "\n\n"
    info = r.corpus_info()
    rows = [[c, info.get(c, {}).get("source", ""), f"{int(info.get(c, {}).get('bytes', 0)):,}",
             f"{int(info.get(c, {}).get('elements', 0)):,}", CORPUS_ATTRIBUTES.get(c, "")] for c in r.corpora()]
    text += "Corpora (elements as pugixml parses them from a string):\n\n"
    text += table(["corpus", "source", "bytes", "elements", "integer / text attribute read in the walk"], rows)
    return text


def ratio_section(r, memory):
    corpora = r.corpora()
    rows = []
    for workload in WORKLOADS:
        for corpus in corpora_of(workload, corpora):
            ratio = r.ratio(workload, corpus, "zux", "pugixml")
            if ratio is None:
                continue
            spread = r.spread(workload, corpus, "zux")
            rows.append([workload, corpus, fmt_ratio(ratio)]
                        + [fmt_ratio(r.ratio(workload, corpus, model, "pugixml")) for model in MODELS]
                        + ["" if spread is None else f"{spread * 100:.0f}%"])
    if "zux" in memory and "pugixml" in memory:
        rows.append(["peak memory", "generated", fmt_ratio(memory["zux"][0] / memory["pugixml"][0])]
                    + [""] * (len(MODELS) + 1))
    text = "## Ratios\n\n"
    text += ("ZuX / raw pugixml (below 1: faster than raw pugixml). The model columns are the floor of the "
             "handle design (see *What is measured*); spread is the interquartile range / median of ZuX's "
             "repetitions. save-file compares wall-clock times: ZuX's file save flushes the file to disk "
             "before it replaces the old one, raw pugixml's `save_file` does not.\n\n")
    text += table(["workload", "corpus", "ZuX / pugixml"] + [f"{model} / pugixml" for model in MODELS]
                  + ["spread"], rows) + "\n"

    rows = []
    for workload in ["parse", "walk", "parse + walk", "save-raw", "save-indented", "build"]:
        for corpus in corpora_of(workload, corpora):
            if workload == "parse + walk":
                cells = [fmt_ratio(r.parse_walk_ratio(corpus, peer)) for peer in PEERS]
            else:
                cells = [fmt_ratio(r.ratio(workload, corpus, peer, "zux")) for peer in PEERS]
            rows.append([workload, corpus] + cells)
    text += "Peers / ZuX (above 1: ZuX is faster; parse + walk adds the two medians):\n\n"
    text += table(["workload", "corpus", "libxml2 / ZuX", "tinyxml2 / ZuX"], rows) + "\n"

    rows = []
    for corpus in corpora:
        for library in LIBRARIES:
            if r.has("walk", corpus, library):
                rows.append(["walk", corpus, library,
                             fmt_count(r.counter("walk", corpus, library, "allocs_per_element")),
                             fmt_count(r.counter("walk", corpus, library, "allocs_per_node"))])
    for library in LIBRARIES:
        if r.has("build", BUILD_CORPUS, library):
            rows.append(["build", BUILD_CORPUS, library,
                         fmt_count(r.counter("build", BUILD_CORPUS, library, "allocs_per_element")), ""])
    text += ("Heap allocations per element of the corpus, and per visited node in the walk, which visits "
             "text nodes too (see *What is counted as a heap allocation*):\n\n")
    text += table(["workload", "corpus", "library", "allocations / element", "allocations / node"], rows)
    return text


def spreads(r, workload, corpus, libraries):
    """The spreads of the libraries' repetitions, as '3% / 5%'."""
    values = [r.spread(workload, corpus, lib) for lib in libraries]
    return " / ".join("" if v is None else f"{v * 100:.0f}%" for v in values)


def goal_section(r, memory):
    corpora = r.corpora()
    rows = []
    for workload, limit in SPEED_GOALS:
        for corpus in corpora:
            ratio = r.ratio(workload, corpus, "zux", "pugixml")
            if ratio is not None:
                rows.append([f"{workload} within {limit:.2f}× raw pugixml", corpus, fmt_ratio(ratio),
                             verdict(ratio <= limit), spreads(r, workload, corpus, ["zux", "pugixml"])])
    for corpus in corpora:
        ratio = r.ratio("xpath-ns", corpus, "zux", "zux-by-hand")
        if ratio is not None:
            rows.append([f"xpath-ns within {NAMESPACE_GOAL:.2f}× the same by hand", corpus, fmt_ratio(ratio),
                         verdict(ratio <= NAMESPACE_GOAL), spreads(r, "xpath-ns", corpus, ["zux", "zux-by-hand"])])
    for corpus in corpora:
        share = r.counter("positions", corpus, "zux", "table_share")
        if share is not None:
            rows.append([f"the table of source positions holds at most 1/{POSITIONS_SHARE} of the input", corpus,
                         f"1/{1 / share:.1f}" if share > 0 else "0", verdict(share <= 1 / POSITIONS_SHARE), ""])
    for corpus in corpora:
        keeping, plain = r.median("parse-positions", corpus, "zux"), r.median("parse", corpus, "zux")
        if keeping and plain:
            rows.append(["a load with `KeepPositions`, against ZuX's plain load (no limit: it is asked for)", corpus,
                         fmt_ratio(keeping / plain), "", spreads(r, "parse-positions", corpus, ["zux"])])
    moving = [r.counter("siblings", c, "zux", "allocs_in_moves") for c in corpora]
    moving = [m for m in moving if m is not None]
    if moving:
        rows.append(["moves and node-level typed reads allocate nothing", "all",
                     f"{max(moving):.0f} allocations", verdict(max(moving) == 0), ""])
    for counter, loop in [("allocs_in_child_steps", "`for (CZuXNode& child : node.Children())`"),
                          ("allocs_in_item_steps", "`for (const CZuXPathNodePtr& item : *set)`")]:
        steps = [r.counter("range-for", c, "zux", counter) for c in corpora]
        steps = [s for s in steps if s is not None]
        if steps:
            rows.append([f"the steps of {loop} allocate nothing", "all", f"{max(steps):.0f} allocations",
                         verdict(max(steps) == 0), ""])
    for corpus in corpora:
        walk = r.ratio("walk", corpus, "zux", "pugixml")
        if walk is None:
            continue
        floor = r.ratio("walk", corpus, "model", "pugixml")
        measured = fmt_ratio(walk) + (f" (model: {fmt_ratio(floor)})" if floor else "")
        noise = spreads(r, "walk", corpus, ["zux", "pugixml"])
        if corpus in REAL_CORPORA:
            rows.append([f"walk within {WALK_GOAL:.2f}× raw pugixml", corpus, measured, verdict(walk <= WALK_GOAL),
                         noise])
        else:
            rows.append([f"walk within {WALK_GOAL:.2f}× raw pugixml (the goal names the real files only)",
                         corpus, measured, "within" if walk <= WALK_GOAL else "above", noise])
    build = r.ratio("build", BUILD_CORPUS, "zux", "pugixml")
    if build is not None:
        floor = r.ratio("build", BUILD_CORPUS, "model", "pugixml")
        measured = fmt_ratio(build) + (f" (model: {fmt_ratio(floor)})" if floor else "")
        rows.append([f"build 100,000 elements within {BUILD_GOAL:.2f}× raw pugixml", BUILD_CORPUS, measured,
                     verdict(build <= BUILD_GOAL), spreads(r, "build", BUILD_CORPUS, ["zux", "pugixml"])])
    each = r.ratio("remove-each", REMOVE_EACH_CORPUS, "zux", "pugixml")
    if each is not None:
        rows.append([f"remove 100,000 children one by one within {REMOVE_EACH_GOAL:.0f}× raw pugixml",
                     REMOVE_EACH_CORPUS, fmt_ratio(each), verdict(each <= REMOVE_EACH_GOAL),
                     spreads(r, "remove-each", REMOVE_EACH_CORPUS, ["zux", "pugixml"])])
    for peer, limit in PEER_GOALS:
        for corpus in corpora:
            ratio = r.parse_walk_ratio(corpus, peer)
            if ratio is not None:
                rows.append([f"parse + walk at least {limit:g}× faster than {peer}", corpus, fmt_ratio(ratio),
                             verdict(ratio >= limit), ""])
    if "zux" in memory and "pugixml" in memory:
        ratio = memory["zux"][0] / memory["pugixml"][0]
        rows.append([f"peak memory within {MEMORY_GOAL:.2f}× raw pugixml", "generated", fmt_ratio(ratio),
                     verdict(ratio <= MEMORY_GOAL), ""])
    text = "## Goals\n\n"
    text += ("Each verdict compares the median ratio with the limit. The spread column gives the "
             "interquartile range / median of the repetitions of ZuX and of raw pugixml: where it is larger "
             "than the distance between a ratio and its limit, that verdict is within the noise of this "
             "run.\n\n")
    return text + table(["goal", "corpus", "measured", "verdict", "spread ZuX / pugixml"], rows)


def absolute_section(r, memory):
    rows = []
    for workload in WORKLOADS:
        for corpus in corpora_of(workload, r.corpora()):
            if r.has(workload, corpus, "pugixml"):
                rows.append([workload, corpus] + [fmt_ms(r.median(workload, corpus, lib)) for lib in LIBRARIES])
    text = "## Absolute figures\n\n"
    text += ("Median CPU time per iteration in milliseconds (walk: one full walk; siblings: two passes along "
             "the root element's children; xpath: all ten queries; save-file: one file save, wall-clock "
             "time; build: one document of 100,000 elements; remove: taking a subtree of a million nodes "
             "out of its document; remove-each: removing 100,000 children one by one through one parent "
             "handle).\n\n")
    text += table(["workload", "corpus"] + LIBRARIES, rows)
    if memory:
        rows = [[lib, f"{memory[lib][0] / 1024:.1f}", f"{memory[lib][1] / 1024:.1f}",
                 f"{(memory[lib][0] - memory[lib][1]) / 1024:.1f}", str(memory[lib][2])]
                for lib in ["pugixml", "zux", "libxml2", "tinyxml2"] if lib in memory]
        text += ("\nPeak resident set of a process that loads the generated document from its file with the "
                 "library's own file loader (median of the runs; the baseline is the same process before "
                 "loading):\n\n")
        text += table(["library", "peak MiB", "baseline MiB", "peak − baseline MiB", "runs"], rows)
    return text


def churn_section(churn):
    if not churn:
        return ""
    rows = [[f"{row['churn']:,}", "yes" if row["idle"] else "no", f"{row['early_kib'] / 1024:.1f}",
             f"{row['peak_kib'] / 1024:.1f}", f"{(row['peak_kib'] - row['early_kib']) / 1024:.1f}"] for row in churn]
    text = "## A long-lived document with many removals\n\n"
    text += ("`zux_bench_memory churn`: one document, an element added below its root and removed again in "
             "every cycle, with three handles in use throughout; with idle handles, also four node handles "
             "and an XPath set made before the first cycle and never used again, which keep the record of "
             "removed items from being dropped. Peak resident set after the first thousand cycles and at "
             "the end:\n\n")
    return text + table(["cycles", "idle handles", "peak after 1,000 cycles MiB", "peak at the end MiB",
                         "growth MiB"], rows)


def removals_section(removals):
    if not removals:
        return ""
    rows = [[f"{row['removals']:,}", f"{row['subtree']:,}", row["library"], f"{row['early_kib'] / 1024:.1f}",
             f"{row['peak_kib'] / 1024:.1f}"] for row in removals]
    text = "## Removals while a handle stays idle\n\n"
    text += ("`zux_bench_memory removals`: one document, a copy of a subtree appended below its root and "
             "removed again, many times; with ZuX, a node handle made before the first removal and never "
             "used again keeps the record of removed items from being dropped, so the record must stay "
             "within the addresses pugixml reuses. Peak resident set after the first thousand removals and "
             "at the end:\n\n")
    return text + table(["removals", "subtree nodes", "library", "peak after 1,000 MiB", "peak at the end MiB"],
                        rows)


def ideas_section():
    """The ideas tried for the handles' cost, as bench/IDEAS.md records them."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "IDEAS.md")
    if not os.path.exists(path):
        return ""
    with open(path) as f:
        return f.read()


def compare_sections(directory):
    """One section per comparison that bench.sh ran (ZUX_BENCH_COMPARE)."""
    if not directory or not os.path.isdir(directory):
        return ""
    text = ""
    for name in sorted(os.listdir(directory), key=int):
        path = os.path.join(directory, name)
        with open(os.path.join(path, "label")) as f:
            base, head = f.read().split()
        files = sorted(os.listdir(path))
        before = Results(*[os.path.join(path, f) for f in files if f.startswith("before-")])
        after = Results(*[os.path.join(path, f) for f in files if f.startswith("after-")])
        text += compare_section(before, after, base, head) + "\n"
    return text


def compare_section(before, after, base, head):
    """ZuX / raw pugixml with the library before a change and after it, the same benchmark code."""
    rows = []
    for workload in COMPARED:
        for corpus in corpora_of(workload, CORPORA):
            old = before.ratio(workload, corpus, "zux", "pugixml")
            new = after.ratio(workload, corpus, "zux", "pugixml")
            if old is None or new is None:
                continue
            rows.append([workload, corpus, fmt_ratio(old), fmt_ratio(new), f"{(new / old - 1) * 100:+.1f}%",
                         spreads(before, workload, corpus, ["zux"]) + " / " + spreads(after, workload, corpus, ["zux"]),
                         fmt_ms(before.median(workload, corpus, "zux")), fmt_ms(after.median(workload, corpus, "zux"))])
    head = "this tree" if head == "tree" else f"`{head}`"
    text = f"## Before and after: ZuX as of `{base}` and as of {head}\n\n"
    text += ("The same benchmark code built against both libraries; the two programs ran in turns, several "
             "rounds each, in this run of bench.sh, and each ratio is ZuX / raw pugixml within its own program. "
             "Change: after / before − 1 of the ratios. Spread: interquartile range / median of ZuX's "
             "repetitions, before / after.\n\n")
    return text + table(["workload", "corpus", "before", "after", "change", "spread", "ZuX ms before",
                         "ZuX ms after"], rows)


def check_section(r):
    groups = [("walk", LIBRARIES), ("siblings", ["pugixml", "zux"]), ("xpath", ["pugixml", "zux", "libxml2"]),
              ("save-raw", ["pugixml", "zux"]), ("save-indented", ["pugixml", "zux"]),
              ("save-file", ["pugixml", "zux"]), ("build", LIBRARIES)]
    rows = []
    for workload, libraries in groups:
        for corpus in corpora_of(workload, r.corpora()):
            checks = {lib: r.counter(workload, corpus, lib, "check")
                      for lib in libraries if r.has(workload, corpus, lib)}
            if checks:
                rows.append([workload, corpus, ", ".join(f"{lib} {v:,.0f}" for lib, v in checks.items()),
                             "same" if len(set(checks.values())) == 1 else "**differ**"])
    text = "## Do the libraries compute the same thing?\n\n"
    text += ("Each benchmark reports a checksum: the sum of the values read in a walk, the number of items "
             "the ten queries selected, the length of the saved text or file, the elements built.\n\n")
    text += table(["workload", "corpus", "checksums", ""], rows)
    text += ("\nThe peers' saved texts differ from pugixml's in length (their own declaration and escaping), "
             "so only ZuX and raw pugixml are compared there. libxml2 and tinyxml2 keep comments and the "
             "document type declaration as nodes, which a string load in pugixml drops: their walks visit "
             "those nodes too, and read nothing on them.\n")
    return text


def profile_section(r, directory):
    walks = {lib: load_profile(directory, f"walk-{lib}") for lib in ["pugixml"] + MODELS + ["zux"]}
    builds = {lib: load_profile(directory, f"build-{lib}") for lib in ["pugixml", "model", "zux"]}
    if not any(walks.values()) and not any(builds.values()):
        return ""
    rows = []
    for label, group in [("walk of iso_639-3", walks), ("build of 100,000 elements", builds)]:
        base = group.get("pugixml")
        for lib, profile in group.items():
            if profile:
                rows.append([label, lib, f"{profile[0]:.0f}", fmt_ratio(profile[0] / base[0]) if base else ""])
    text = "## Where the time goes\n\n"
    text += ("Instructions counted by `valgrind --tool=callgrind` inside the profiled function only, per "
             "visited node (walk) or per element built (build). Instruction counts repeat exactly where "
             "timings on a shared machine do not, but they weigh every instruction alike (an atomic "
             "reference-count operation, a call through the PLT, a cache miss on a fresh body as much as an "
             "addition): they show where the work is, they do not measure the time ratios again.\n\n")
    text += table(["workload", "library", "instructions / unit", "relative to raw pugixml"], rows)
    for label, group, other in [("walk", walks, "model-api"), ("build", builds, "model")]:
        for lib in ["zux", other]:
            profile = group.get(lib)
            if profile:
                rows = [[name, f"{count:.1f}"] for name, count in profile[1] if count >= 2]
                text += f"\n{label}, {lib}: instructions per {profile[2]} by function (2 and more):\n\n"
                text += table(["function", f"instructions / {profile[2]}"], rows)
    text += ("\nHow to read these profiles: see *Where the time goes* in [README.md](README.md).\n")
    same = [r.counter("walk", c, "zux", "allocs_per_node") == r.counter("walk", c, "model-string", "allocs_per_node")
            for c in r.corpora() if r.has("walk", c, "model-string")]
    if same:
        text += ("\nIn this run ZuX's walk made " + ("the same number of" if all(same) else "**more or fewer**")
                 + " allocations per node as model-string on every corpus.\n")
    if any(r.ratio("walk", c, "libxml2", "pugixml") is not None and r.ratio("walk", c, "libxml2", "pugixml") < 1
           for c in r.corpora()):
        text += ("\nlibxml2's walk is faster than raw pugixml's here: libxml2's tree is a set of plain C structs "
                 "that the walk reads inline, while every pugixml accessor (`first_child`, `next_sibling`, "
                 "`attribute`, `as_int`) is a call into the shared library.\n")
    return text


def chart_data(r, path):
    """One row per workload and corpus: the time of each library relative to raw pugixml."""
    libraries = CHART_LIBRARIES
    with open(path, "w") as f:
        f.write("# label " + " ".join(libraries) + "\n")
        for workload in [w for w in WORKLOADS if w not in REAL_TIME_WORKLOADS]:  # the chart shows CPU time
            for corpus in corpora_of(workload, r.corpora()):
                if r.has(workload, corpus, "pugixml"):
                    cells = [r.ratio(workload, corpus, lib, "pugixml") for lib in libraries]
                    f.write(f'"{workload}\\n{corpus}" '
                            + " ".join("NaN" if c is None else f"{c:.4f}" for c in cells) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bench", required=True, help="zux_bench JSON output")
    parser.add_argument("--memory", help="zux_bench_memory output, one JSON object a line")
    parser.add_argument("--profile-dir", help="callgrind runs: NAME.callgrind and NAME.json")
    parser.add_argument("--versions", help="'name: version' lines")
    parser.add_argument("--elapsed", help="seconds bench.sh had taken when it called this script")
    parser.add_argument("--compare-dir", help="the before-and-after runs: one directory per comparison")
    parser.add_argument("--markdown", required=True)
    parser.add_argument("--chart-data", required=True)
    args = parser.parse_args()

    r = Results(args.bench)
    memory = load_memory(args.memory)
    sections = [
        "# Benchmarks: ZuX against raw pugixml, libxml2 and tinyxml2\n\n"
        "Written by `scripts/bench.sh` through `bench/report.py` from the run it describes. Times are the "
        "**median CPU time per iteration** (wall-clock time for the file save) over the repetitions of one "
        "`zux_bench` process, in which the repetitions of all benchmarks were interleaved at random; ratios "
        "are taken between those medians.\n\n![Time of each library relative to raw pugixml](results.png)\n",
        setup_section(r, args.versions, args.elapsed),
        goal_section(r, memory),
        ratio_section(r, memory),
        compare_sections(args.compare_dir),
        absolute_section(r, memory),
        churn_section(load_churn(args.memory)),
        removals_section(load_removals(args.memory)),
        profile_section(r, args.profile_dir) if args.profile_dir else "",
        check_section(r),
        ideas_section(),
        "## What is measured, and how\n\nSee [README.md](README.md) beside this file: how the benchmarks run, what "
        "each workload and model does, and what counts as a heap allocation.\n",
    ]
    with open(args.markdown, "w") as f:
        f.write("\n".join(s.rstrip() + "\n" for s in sections if s))
    chart_data(r, args.chart_data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
