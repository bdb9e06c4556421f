#!/usr/bin/env python3
"""Times a replace of three folders at once against the replace of one folder.

For each size it lays out a demo installation with VrlDemoInstall, then, alternating on
identical copies of the database:
  - runs `VrlChangeDocsPathCli --old C:\\VarnelDocs --new ... --yes` (one folder);
  - runs `VrlChangeDocsPathCli --mapping FILE --yes` with three rows: two client folders under
    C:\\VarnelDocs moved elsewhere and C:\\VarnelDocs itself, so that every value of the
    one-folder replace is rewritten, most of them by the shortest row after the longer ones
    were tried;
both whole processes, start-up included, writing their undo journal. It checks that both
rewrite the same number of records, and that the three-folder replace ends with the contents
the equivalent SQL `UPDATE` statements (longest folder first) give. It prints a table and writes
it into bench/RESULTS.md, in its own section that the other benchmarks keep.

  bench/run_bench_mappings.py [--sizes 10000,100000,1000000] [--runs 5] [--keep]
"""
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import run_bench
from run_bench import OLD_PATH, NEW_PATH, sh, timed, fresh_db, content_digest

SECTION_START = "<!-- mappings -->"
SECTION_END = "<!-- /mappings -->"
# Longest first, as the replace tries them.
MAPPINGS = [
    (OLD_PATH + "\\Cohen Trading Ltd 2", "\\\\fileserver\\Clients\\Cohen Trading"),
    (OLD_PATH + "\\levi brothers", "\\\\fileserver\\Clients\\Levi"),
    (OLD_PATH, NEW_PATH),
]


def timed_cpu(cmd):
    """Wall seconds of one process, and the CPU seconds (user and system) it used: on a machine
    that others load, the CPU time tells the two replaces apart more steadily than the wall
    time."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    seconds, _ = timed(cmd)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return seconds, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def rewritten(output):
    """The records a replace reports rewritten, per table."""
    return re.findall(r"^(Documents|Cards): \d+ examined, (\d+) rewritten", output, re.M)


def bench_size(work, size, runs):
    root, live, pristine = run_bench.demo_installation(work, size)
    mapping = work / "mapping.csv"
    mapping.write_text("old,new\r\n" + "".join(f'"{o}","{n}"\r\n' for o, n in MAPPINGS))
    sql_db = work / f"sql{size}.sqlite"
    script = work / "update.sql"
    script.write_text("".join(run_bench.update_script(o, n, "PRAGMA journal_mode=WAL;\n" if i == 0
                                                      else "")
                              for i, (o, n) in enumerate(MAPPINGS)))
    fresh_db(pristine, sql_db)
    with open(script) as stdin:
        sh(["sqlite3", str(sql_db)], stdin=stdin, stdout=subprocess.DEVNULL)
    expected = content_digest(sql_db)

    cli = str(root / "Utils" / "VrlChangeDocsPathCli")
    commands = {"one": [cli, "--old", OLD_PATH, "--new", NEW_PATH, "--yes"],
                "three": [cli, "--mapping", str(mapping), "--yes"]}
    times = {"one": [], "three": []}
    cpu = {"one": [], "three": []}
    counts = {}
    for run in range(runs):
        for which in (("one", "three") if run % 2 == 0 else ("three", "one")):
            fresh_db(pristine, live)
            seconds, used = timed_cpu(commands[which])
            times[which].append(seconds)
            cpu[which].append(used)
            if which == "three" and content_digest(live) != expected:
                sys.exit(f"MISMATCH at {size} documents: the three-folder replace and the SQL "
                         "statements left different Docs/Cards contents")
        # The counts, once per size, from a run of each that is not timed.
        if run == 0:
            for which in ("one", "three"):
                fresh_db(pristine, live)
                out = subprocess.run(commands[which], capture_output=True, text=True).stdout
                counts[which] = rewritten(out)
            if counts["one"] != counts["three"] or not counts["one"]:
                sys.exit(f"the replaces rewrote different records: {counts}")
    return {"size": size, "one": statistics.median(times["one"]),
            "three": statistics.median(times["three"]), "one_cpu": statistics.median(cpu["one"]),
            "three_cpu": statistics.median(cpu["three"]), "counts": counts["one"]}


def write_results(rows, args):
    table = ["| documents | cards | records rewritten | one folder (median s) "
             "| three folders (median s) | three/one | CPU: one folder (s) | CPU: three folders (s) "
             "| CPU three/one |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for r in rows:
        records = sum(int(n) for _, n in r["counts"])
        table.append(f"| {r['size']:,} | {max(r['size'] // 10, 1):,} | {records:,} | "
                     f"{r['one']:.3f} | {r['three']:.3f} | {r['three'] / r['one']:.2f} | "
                     f"{r['one_cpu']:.3f} | {r['three_cpu']:.3f} | "
                     f"{r['three_cpu'] / r['one_cpu']:.2f} |")
    text = "\n".join(table)
    print(text)
    rows_text = "; ".join(f"`{o}` to `{n}`" for o, n in MAPPINGS)
    section = (
        f"{SECTION_START}\n## Several folders in one run\n\n"
        f"Run: `bench/run_bench_mappings.py --sizes {args.sizes} --runs {args.runs}` on "
        f"{time.strftime('%Y-%m-%d')}, same machine. \"one folder\" is "
        f"`VrlChangeDocsPathCli --old {OLD_PATH} --new {NEW_PATH} --yes`, \"three folders\" "
        f"`VrlChangeDocsPathCli --mapping FILE --yes` with the rows {rows_text}: the same "
        "records rewritten, each value matched against the rows longest first. Both whole "
        "processes with their undo journal, alternating on copies of one demo database written "
        "out before each run; the three-folder result is checked against the equivalent SQL "
        "`UPDATE` statements. Wall times are medians; so are the CPU times (user and system) "
        "of each process. Target at 1,000,000 documents: three folders at most 1.1 times "
        f"one.\n\n{text}\n{SECTION_END}")
    run_bench.write_section(SECTION_START, SECTION_END, section)


def main():
    args = run_bench.parse_args(__doc__, runs=5)
    run_bench.build()
    work = Path(tempfile.mkdtemp(prefix="vrlbench-mappings-"))
    rows = []
    try:
        for size in (int(s) for s in args.sizes.split(",")):
            row = bench_size(work, size, args.runs)
            rows.append(row)
            print(f"{size:>9} documents: one folder {row['one']:.3f} s, three folders "
                  f"{row['three']:.3f} s, ratio {row['three'] / row['one']:.2f}, CPU ratio "
                  f"{row['three_cpu'] / row['one_cpu']:.2f}", flush=True)
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    write_results(rows, args)


if __name__ == "__main__":
    main()
