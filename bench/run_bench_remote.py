#!/usr/bin/env python3
"""Times the replace on the remote server (PostgreSQL) against the equivalent plain SQL UPDATEs.

It starts a throwaway PostgreSQL cluster on a Unix socket (scripts/pg-test-cluster.sh), and for
each size lays out a remote demo installation with `VrlDemoInstall --remote`, keeps its database
as a template, then, alternating on identical copies of that database:
  - runs `VrlChangeDocsPathCli --old ... --new ... --yes` of the remote installation (the whole
    process, start-up included) and records its wall time and peak resident memory, with and
    without the journal;
  - runs its dry run before the journalled replace, and the undo after it (checked to put back
    every record);
  - runs `psql` with the UPDATE statements that apply the same matching rules, in one
    transaction, on the same server;
and checks that both databases end with identical Docs and Cards contents. It prints a table
and writes it into bench/RESULTS.md, in its own section that the local benchmark keeps.

  bench/run_bench_remote.py [--sizes 10000,100000,1000000] [--runs 3] [--keep]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import run_bench
from run_bench import OLD_PATH, NEW_PATH, ROOT, BUILD, sh, timed

SECTION_START = "<!-- remote -->"
SECTION_END = "<!-- /remote -->"
PORT = "54329"


class Cluster:
    """The throwaway server: its folder, superuser and the conninfo of one database."""

    def __init__(self, folder):
        self.folder = folder
        out = sh([str(ROOT / "scripts" / "pg-test-cluster.sh"), "start", str(folder)],
                 stdout=subprocess.PIPE, text=True).stdout.strip()
        self.user = dict(item.split("=", 1) for item in out.split())["user"]

    def stop(self):
        sh([str(ROOT / "scripts" / "pg-test-cluster.sh"), "stop", str(self.folder)])

    def conninfo(self, db):
        return f"host={self.folder} port={PORT} user={self.user} dbname={db}"

    def psql(self, db, sql=None, script=None):
        cmd = ["psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", self.conninfo(db)]
        cmd += ["-c", sql] if sql is not None else ["-f", str(script)]
        return sh(cmd, stdout=subprocess.PIPE, text=True,
                  env=dict(os.environ, PGOPTIONS="-c client_min_messages=warning")).stdout.strip()

    def copy(self, template, target):
        self.psql("postgres", f"DROP DATABASE IF EXISTS {target} WITH (FORCE)")
        self.psql("postgres", f"CREATE DATABASE {target} TEMPLATE {template}")
        # The copy's pages are written out now, not by a checkpoint in the middle of the run
        # timed next (either side's).
        self.psql("postgres", "CHECKPOINT")


def content_digest(cluster, db):
    """A digest of every Docs and Cards row: the sum of a 64-bit hash of each whole row (its
    VRL_ROWID included), so no single value has to hold the ten million rows' text."""
    parts = []
    for table in ("Docs", "Cards"):
        parts.append(cluster.psql(
            db, f"SELECT count(*) || ':' || coalesce(sum(hashtextextended(t::text, 0)::numeric), 0) "
                f"FROM {table} t"))
    return "/".join(parts)


def bench_size(cluster, work, size, runs):
    root = work / f"crm{size}" / "CRM"
    pristine, live, sql_db = f"pristine{size}", f"live{size}", f"sql{size}"
    cluster.psql("postgres", f"CREATE DATABASE {pristine}")
    start = time.perf_counter()
    sh([str(BUILD / "bin" / "VrlDemoInstall"), "--root", str(root), "--documents", str(size),
        "--cards", str(max(size // 10, 1)), "--remote", cluster.conninfo(pristine)],
       stdout=subprocess.DEVNULL)
    print(f"{size:>9} documents laid out in {time.perf_counter() - start:.1f} s", flush=True)
    cluster.psql(pristine, "VACUUM ANALYZE")
    # The installation works on the copy "live"; the pristine database stays the template.
    ini = root / "Utils" / "ads.ini"
    ini.write_text(ini.read_text().replace(f"Database={pristine}", f"Database={live}"))
    script = work / f"update{size}.sql"
    script.write_text(run_bench.update_script(OLD_PATH, NEW_PATH, preamble=""))
    program = str(root / "Utils" / "VrlChangeDocsPathCli")
    cli = [program, "--old", OLD_PATH, "--new", NEW_PATH]
    pristine_digest = content_digest(cluster, pristine)
    psql = ["psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", cluster.conninfo(sql_db), "-f",
            str(script)]

    # The replace as it runs by default (journalled), without the journal, and the statements;
    # their order turns from run to run.
    times = {"ours": [], "nojournal": [], "sql": [], "dry": [], "undo": []}
    peaks = []
    kinds = ["ours", "nojournal", "sql"]
    for run in range(runs):
        digests = {}
        for which in kinds[run % 3:] + kinds[:run % 3]:
            if which == "sql":
                cluster.copy(pristine, sql_db)
                seconds, _ = timed(psql)
                digests[which] = content_digest(cluster, sql_db)
            else:
                cluster.copy(pristine, live)
                if which == "ours":
                    seconds, peak = timed(cli + ["--dry-run"])
                    times["dry"].append(seconds)
                    peaks.append(peak)
                    if content_digest(cluster, live) != pristine_digest:
                        sys.exit(f"the dry run changed the database at {size} documents")
                seconds, peak = timed(cli + ["--yes"] + (["--no-journal"] if which == "nojournal"
                                                         else []))
                peaks.append(peak)
                digests[which] = content_digest(cluster, live)
                if which == "ours":
                    times[which].append(seconds)
                    seconds, peak = timed([program, "--undo", "R1", "--yes"])
                    peaks.append(peak)
                    which = "undo"
                    if content_digest(cluster, live) != pristine_digest:
                        sys.exit(f"the undo did not put back every record at {size} documents")
            times[which].append(seconds)
        if len(set(digests.values())) != 1:
            sys.exit(f"MISMATCH at {size} documents: the console program and the SQL statements "
                     "left different Docs/Cards contents")
        if digests["sql"] == pristine_digest:
            sys.exit(f"the replace changed nothing at {size} documents")
    for db in (pristine, live, sql_db):
        cluster.psql("postgres", f"DROP DATABASE IF EXISTS {db} WITH (FORCE)")
    result = {which: statistics.median(seconds) for which, seconds in times.items()}
    result.update(size=size, peak=max(peaks) / 1024.0)
    return result


def write_results(rows, args, server_version):
    table = ["| documents | cards | ours (median s) | ours, --no-journal (median s) "
             "| psql UPDATE (median s) | ours/SQL | --no-journal/SQL | dry run (median s) "
             "| undo (median s) | our peak memory (MiB) |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for r in rows:
        table.append(f"| {r['size']:,} | {max(r['size'] // 10, 1):,} | {r['ours']:.3f} | "
                     f"{r['nojournal']:.3f} | {r['sql']:.3f} | {r['ours'] / r['sql']:.2f} | "
                     f"{r['nojournal'] / r['sql']:.2f} | {r['dry']:.3f} | {r['undo']:.3f} | "
                     f"{r['peak']:.1f} |")
    text = "\n".join(table)
    print(text)
    section = (
        f"{SECTION_START}\n## Remote server (PostgreSQL)\n\n"
        f"Run: `bench/run_bench_remote.py --sizes {args.sizes} --runs {args.runs}` on "
        f"{time.strftime('%Y-%m-%d')}, {server_version}, a throwaway cluster of "
        "`scripts/pg-test-cluster.sh` on a Unix socket of the same machine (fsync off, as for "
        "the tests; both sides alike). Each size is a fresh `VrlDemoInstall --remote` database "
        "kept as a template; every run starts from a copy of it, written out by a `CHECKPOINT` "
        "before the run. \"ours\" is the whole "
        "`VrlChangeDocsPathCli --old ... --new ... --yes` process of the remote installation, "
        "start-up included, writing the undo journal as it does by default; \"--no-journal\" "
        "the same process with `--no-journal`; \"dry run\" its `--dry-run` on the same copy just "
        "before the journalled replace; \"undo\" its `--undo R1 --yes` right after it, checked "
        "to leave every record as it was; \"psql UPDATE\" is `psql` running the equivalent `UPDATE` statements "
        "in one transaction on the same server; both end with identical Docs and Cards contents "
        "(checked on every run). The peak memory is the largest of all our runs. "
        "Targets at 1,000,000 documents: at most 1.5 times the psql "
        f"time, peak memory under 64 MiB.\n\n{text}\n{SECTION_END}")
    run_bench.write_section(SECTION_START, SECTION_END, section)


def main():
    args = run_bench.parse_args(__doc__, runs=3)
    run_bench.build()
    work = Path(tempfile.mkdtemp(prefix="vrlbench-remote-"))
    os.chmod(work, 0o755)  # the server's own user reaches its folder inside
    cluster = Cluster(work / "pg")
    rows = []
    try:
        version = "PostgreSQL " + cluster.psql("postgres", "SHOW server_version")
        for size in (int(s) for s in args.sizes.split(",")):
            row = bench_size(cluster, work, size, args.runs)
            rows.append(row)
            print(f"{size:>9} documents: ours {row['ours']:.3f} s, --no-journal "
                  f"{row['nojournal']:.3f} s, psql {row['sql']:.3f} s, ratio "
                  f"{row['ours'] / row['sql']:.2f}, dry run {row['dry']:.3f} s, undo "
                  f"{row['undo']:.3f} s, peak {row['peak']:.1f} MiB", flush=True)
    finally:
        cluster.stop()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    write_results(rows, args, version)


if __name__ == "__main__":
    main()
