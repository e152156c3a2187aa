#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Prints the benchmark results as one Markdown table of medians and ratios.

Inputs: the JSON of zelvar_bench (every repetition, not only aggregates), the tab-separated
results of the Java harness (name, median, fastest, slowest in ns per call), the stripped size of
the library and, optionally, the callgrind profiles of a run with fixed iteration counts.

Every time is a median of CPU time per call (on a busy machine, wall-clock time mostly measures
the neighbours); every ratio divides two medians measured in the same run. Instruction counts
per call, where given, are the same comparison free of the machine's noise. Targets are judged
on the timed medians; a target that is not met is marked, not hidden.
"""

import argparse
import glob
import json
import re
import statistics
import sys
from collections import defaultdict

SIZE_BUDGET = 200 * 1024
GLYPH_BYTES = 126467

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load_native(*paths):
    """Median CPU time in ns of every benchmark, from its repetitions in all the files."""
    times = defaultdict(list)
    context = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        context = context or data.get("context", {})
        add_times(times, data)
    return {name: statistics.median(t) for name, t in times.items()}, context


def add_times(times, data):
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        # Options of a benchmark ("/iterations:1/repeats:3") are not part of its name here.
        name = re.sub(r"/(iterations|repeats|min_time):[^/]*", "", b["run_name"])
        times[name].append(b["cpu_time"] * UNIT_NS[b["time_unit"]])


def load_jvm(path):
    medians = {}
    with open(path, encoding="ascii") as f:
        for row in f:
            fields = row.split("\t")
            if len(fields) >= 2:
                medians[fields[0]] = float(fields[1])
    return medians


def load_instructions(directory):
    """Instructions per call of every benchmark, from the callgrind dump of each run."""
    per_call = {}
    for path in glob.glob(f"{directory}/*.out.*"):
        trigger, total = None, None
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                if line.startswith("desc: Trigger: Client Request: iterations="):
                    trigger = line.split("iterations=", 1)[1].split()
                elif line.startswith("summary:"):
                    total = int(line.split()[1])
                if trigger and total is not None:
                    break
        if trigger and total is not None and len(trigger) == 2 and int(trigger[0]) > 0:
            per_call[trigger[1]] = total / int(trigger[0])
    return per_call


def fmt_time(ns):
    if ns is None:
        return "n/a"
    if ns >= 1e9:
        return f"{ns / 1e9:.2f} s"
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} µs"
    return f"{ns:.1f} ns"


def ratio(a, b):
    if a is None or b is None or b == 0:
        return None
    return a / b


def fmt_ratio(r):
    return "" if r is None else f"{r:.2f}×"


class Table:
    def __init__(self, native, instructions):
        self.native = native
        self.instructions = instructions
        self.rows = []
        self.missed = []

    def add(self, what, key, base_key=None, base_label="", limit=None, median=None):
        """One row: benchmark `key`, compared with `base_key` (ratio of medians) when given.

        `limit` is the largest ratio that meets the target; `median` replaces the looked-up
        median (for measurements that are not native benchmarks)."""
        t = self.native.get(key) if median is None else median
        base = self.native.get(base_key) if base_key else None
        r = ratio(t, base)
        met = None if limit is None or r is None else r <= limit
        if met is False:
            self.missed.append(what)
        instr = self.instructions.get(key)
        base_instr = self.instructions.get(base_key) if base_key else None
        self.rows.append((
            what,
            fmt_time(t),
            base_label,
            fmt_ratio(r),
            "" if limit is None else f"≤ {limit:g}×",
            "" if met is None else ("yes" if met else "**no**"),
            "" if instr is None else f"{instr:,.0f}",
            fmt_ratio(ratio(instr, base_instr)),
        ))

    def add_spread(self, what, keys, limit):
        """One row for several benchmarks that should cost the same: slowest against fastest."""
        times = [self.native.get(k) for k in keys]
        if None in times:
            return
        r = max(times) / min(times)
        met = r <= limit
        if not met:
            self.missed.append(what)
        instr = [self.instructions.get(k) for k in keys]
        have_instr = None not in instr
        self.rows.append((
            what,
            " / ".join(fmt_time(t) for t in times),
            "fastest of them",
            fmt_ratio(r),
            f"≤ {limit:g}×",
            "yes" if met else "**no**",
            " / ".join(f"{i:,.0f}" for i in instr) if have_instr else "",
            fmt_ratio(max(instr) / min(instr)) if have_instr else "",
        ))

    def add_plain(self, what, value, target="", met=None):
        if met is False:
            self.missed.append(what)
        self.rows.append((what, value, "", "", target,
                          "" if met is None else ("yes" if met else "**no**"), "", ""))

    def print(self, out, with_instructions):
        header = ["Measurement", "Median", "Compared with", "Ratio", "Target", "Met"]
        if with_instructions:
            header += ["Instr./call", "Instr. ratio"]
        out.write("| " + " | ".join(header) + " |\n")
        out.write("|" + "|".join("---" for _ in header) + "|\n")
        for row in self.rows:
            out.write("| " + " | ".join(row[:len(header)]) + " |\n")


def lookup_rows(table, native):
    fonts = sorted({n.split("/")[1] for n in native if n.startswith("lookup/")})
    for font in fonts:
        found = [f"lookup/{font}/{p}" for p in ("first", "middle", "last")]
        absent = [f"lookup/{font}/{p}" for p in ("gap", "outside")]
        table.add_spread(f"lookup {font}, entries found: first / middle / last", found, 1.5)
        table.add_spread(f"lookup {font}, all five: first / middle / last / gap / outside",
                         found + absent, 1.5)


def compose_rows(table):
    for width in (10, 13, 18, 24):
        copy = f"compose/{width}/copy"
        table.add(f"compose width {width}: copy of the stored record (baseline)", copy)
        table.add(f"compose width {width}: plain glyph", f"compose/{width}/plain", copy, "copy",
                  4)
        if width != 24:
            table.add(f"compose width {width}: mark fitted to the letter before",
                      f"compose/{width}/mark", copy, "copy")
            table.add(f"compose width {width}: alef justified left", f"compose/{width}/alef",
                      copy, "copy")


def reorder_rows(table, native):
    lines = [("mixed48", "48-char mixed Arabic/Latin/digit line", 1.10),
             ("latin48", "48-char Latin/digit line", 0.30),
             ("mixed1000", "1,000-char mixed line", 1.10),
             ("latin1000", "1,000-char Latin/digit line", 0.30)]
    for key, label, limit in lines:
        if f"reorder/{key}/zelvar" not in native:
            continue
        fribidi, icu, ours = (f"reorder/{key}/{v}" for v in ("fribidi", "icu", "zelvar"))
        table.add(f"reorder {label}: bare fribidi_log2vis (baseline)", fribidi)
        table.add(f"reorder {label}: ICU ubidi + writeReordered + u_shapeArabic", icu, fribidi,
                  "bare FriBidi")
        table.add(f"reorder {label}: ReverseTextFixCharFribidi", ours, fribidi, "bare FriBidi",
                  limit)
        if limit < 1:
            table.add(f"reorder {label}: ReverseTextFixCharFribidi, against ICU", ours, icu,
                      "ICU", 1)


def curve_rows(table, native):
    kinds = (("mixed", "mixed receipt text"), ("brackets", "bracket-dense Hebrew/Latin"))
    for kind, label in kinds:
        previous = None
        for n in (1000, 10000, 100000):
            key = f"{kind}{n}"
            ours = f"reorder/{key}/zelvar"
            if ours not in native:
                continue
            if previous is not None:
                table.add(f"growth, {label}: {n:,} chars against {n // 10:,}", ours, previous,
                          f"{n // 10:,} chars")
            table.add(f"growth, {label}, {n:,} chars: ReverseTextFixCharFribidi", ours,
                      f"reorder/{key}/fribidi", "bare FriBidi")
            table.add(f"growth, {label}, {n:,} chars: ICU", f"reorder/{key}/icu",
                      f"reorder/{key}/fribidi", "bare FriBidi")
            previous = ours


def jvm_rows(table, jvm):
    draw = jvm.get("jvm/GetFontDrawBuffer")
    table.add_plain("JVM: GetFontDrawBuffer round trip (U+0628, width 10)", fmt_time(draw),
                    "≤ 1 µs", None if draw is None else draw <= 1000)
    for name in ("jvm/CharAvailable", "jvm/IsFontWidthSupported"):
        table.add_plain(f"JVM: {name[4:]}", fmt_time(jvm.get(name)))
    for key, label in (("mixed48", "48-char mixed line"), ("latin48", "48-char Latin line"),
                       ("mixed1000", "1,000-char mixed line"),
                       ("latin1000", "1,000-char Latin line")):
        t = jvm.get(f"jvm/ReverseTextRWC/{key}")
        if t is None:
            continue
        table.add(f"JVM: ReverseTextRWC, {label}", f"jvm/ReverseTextRWC/{key}",
                  f"reorder/{key}/zelvar", "native call (timed around)",
                  1.3 if key.endswith("48") else None,
                  median=t)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--native", required=True, help="zelvar_bench JSON output")
    parser.add_argument("--jvm", help="Java harness output (tab-separated)")
    parser.add_argument("--native-around-jvm", nargs="*", default=[],
                        help="zelvar_bench JSON of the native calls timed around the JVM's")
    parser.add_argument("--instructions", help="directory of callgrind dumps")
    parser.add_argument("--stripped-bytes", type=int, help="size of the stripped library")
    args = parser.parse_args()

    native, context = load_native(args.native)
    jvm = load_jvm(args.jvm) if args.jvm else {}
    instructions = load_instructions(args.instructions) if args.instructions else {}
    table = Table(native, instructions)
    lookup_rows(table, native)
    compose_rows(table)
    reorder_rows(table, native)
    curve_rows(table, native)
    if jvm:
        # The JVM's calls against the native calls timed around them, where there are such.
        around = load_native(*args.native_around_jvm)[0] if args.native_around_jvm else {}
        jvm_table = Table({**native, **around}, {})
        jvm_rows(jvm_table, jvm)
        table.rows += jvm_table.rows
        table.missed += jvm_table.missed
    if args.stripped_bytes is not None:
        table.add_plain(f"stripped libzelvarandroidapi.so ({GLYPH_BYTES:,} bytes of it glyphs)",
                        f"{args.stripped_bytes:,} bytes", f"≤ {SIZE_BUDGET:,} bytes",
                        args.stripped_bytes <= SIZE_BUDGET)

    table.print(sys.stdout, bool(instructions))
    print()
    print(f"{context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz, "
          f"load average {context.get('load_avg', '?')} at the start; "
          "medians of CPU time per call.")
    if table.missed:
        print("Targets not met: " + "; ".join(table.missed))


if __name__ == "__main__":
    main()
