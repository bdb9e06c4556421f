#!/usr/bin/env python3
"""Times the replace of VrlChangeDocsPathCli against the equivalent plain SQL UPDATE statements.

For each size it lays out a demo installation with VrlDemoInstall, then, alternating on
identical copies of the database:
  - runs `VrlChangeDocsPathCli --old ... --new ... --yes` (the whole process, start-up included,
    writing its undo journal) and records its wall time and peak resident memory;
  - runs the same with `--no-journal`;
  - runs the `sqlite3` shell with the UPDATE statements that apply the same matching rules;
  - runs the console program's dry run, and the undo of the journalled replace (checked to put
    back every record);
  - runs the console program again while another station saves one record every 100 ms (its
    own connection, waiting for the write lock in 1 ms steps as the engine does), and records
    how long each save took;
and checks that both databases end with identical Docs and Cards contents. It prints a table and
writes it, with a description of the machine, to bench/RESULTS.md.

  bench/run_bench.py [--sizes 10000,100000,1000000] [--runs 5] [--keep]
"""
import argparse
import os
import platform
import shutil
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

# The programs run here work on the demo installation they stand in: an installation named in
# the caller's environment must never be the one they change.
os.environ.pop("VRL_INSTALLATION", None)

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build-release"
OLD_PATH = "C:\\VarnelDocs"
NEW_PATH = "\\\\fileserver\\Shared\\VarnelDocs"
NOTES_MARKER = "<!-- notes -->"


def sh(cmd, **kw):
    return subprocess.run(cmd, check=True, **kw)


def build():
    sh(["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
        "-DVRL_BUILD_TESTS=OFF"], stdout=subprocess.DEVNULL)
    sh(["cmake", "--build", str(BUILD), "--target", "VrlDemoInstall", "VrlChangeDocsPathCli",
        "VrlChangeDocsPath"], stdout=subprocess.DEVNULL)


def sql_quote(text):
    return "'" + text.replace("'", "''") + "'"


def upper_ascii(text):
    return "".join(chr(ord(c) - 32) if "a" <= c <= "z" else c for c in text)


def add_bs(text):
    return text if not text or text.endswith("\\") else text + "\\"


def remove_bs(text):
    return text[:-1] if text.endswith("\\") else text


def update_script(old_path, new_path, preamble="PRAGMA journal_mode=WAL;\n"):
    """The UPDATE statements an administrator would run by hand for the same result, in SQL
    that SQLite and PostgreSQL read alike (preamble: the shell's settings before them)."""
    doc_old, doc_new = add_bs(upper_ascii(old_path)), add_bs(new_path)
    card_old, card_new = upper_ascii(remove_bs(upper_ascii(old_path))), remove_bs(new_path)
    folder = ("CASE WHEN substr(DOCSFOLDER, length(DOCSFOLDER), 1) = '\\' "
              "THEN substr(DOCSFOLDER, 1, length(DOCSFOLDER) - 1) ELSE DOCSFOLDER END")
    lo, lc = len(doc_old), len(card_old)
    return f"""{preamble}BEGIN;
UPDATE Docs SET DOCUMENT_NAME = {sql_quote(doc_new)} || substr(DOCUMENT_NAME, {lo + 1})
 WHERE upper(substr(DOCUMENT_NAME, 1, {lo})) = {sql_quote(doc_old)};
UPDATE Cards SET DOCSFOLDER = {sql_quote(card_new)} || substr({folder}, {lc + 1})
 WHERE upper(substr({folder}, 1, {lc})) = {sql_quote(card_old)}
   AND (length({folder}) = {lc} OR substr({folder}, {lc + 1}, 1) = '\\');
COMMIT;
"""


def content_digest(db):
    """A digest of every Docs and Cards row: the sqlite3 shell's SHA3 of the two tables' contents,
    computed in C, so that ten million rows take seconds rather than minutes."""
    return subprocess.run(["sqlite3", str(db)], input=".sha3sum Docs\n.sha3sum Cards\n",
                          capture_output=True, text=True, check=True).stdout


def timed(cmd, stdin=None):
    """Wall seconds and peak resident memory (KiB) of one process."""
    rss_file = tempfile.NamedTemporaryFile(delete=False)
    rss_file.close()
    start = time.perf_counter()
    proc = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", rss_file.name] + cmd, stdin=stdin,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit(f"FAILED ({proc.returncode}): {' '.join(cmd)}\n{proc.stdout.decode()}\n"
                 f"{proc.stderr.decode()}")
    peak = int(Path(rss_file.name).read_text().split()[-1])
    os.unlink(rss_file.name)
    return elapsed, peak


def station_saves(db, stop, latencies):
    """Another station: one single-record save every 100 ms until stop is set."""
    con = sqlite3.connect(db, timeout=0, isolation_level=None)
    con.execute("PRAGMA wal_autocheckpoint=16384")  # as the engine checkpoints without its thread
    con.execute("CREATE TABLE IF NOT EXISTS BenchSaves (N INTEGER)")
    n = 0
    while not stop.is_set():
        start = time.perf_counter()
        while True:
            try:
                con.execute("BEGIN IMMEDIATE")
                break
            except sqlite3.OperationalError:
                time.sleep(0.001)
        n += 1
        con.execute("INSERT INTO BenchSaves VALUES (?)", (n,))
        con.execute("COMMIT")
        latencies.append(time.perf_counter() - start)
        stop.wait(0.1)
    con.close()


def timed_with_station(cmd, db):
    """timed(cmd) while another station saves; also the longest save in seconds."""
    stop, latencies = threading.Event(), []
    station = threading.Thread(target=station_saves, args=(db, stop, latencies))
    station.start()
    try:
        seconds, _ = timed(cmd)
    finally:
        stop.set()
        station.join()
    return seconds, max(latencies, default=0.0)


def fresh_db(pristine, target):
    for suffix in ("", "-wal", "-shm"):
        Path(str(target) + suffix).unlink(missing_ok=True)
    shutil.copyfile(pristine, target)
    # The copy goes to disk now: its write-back must not land in the run timed next, whose
    # first fsync would otherwise wait for the whole copy.
    os.sync()


def demo_installation(work, size):
    """A demo installation of size documents (a tenth as many cards) in work: its root, its
    live database and a pristine copy of it."""
    root = work / f"crm{size}" / "CRM"
    start = time.perf_counter()
    sh([str(BUILD / "bin" / "VrlDemoInstall"), "--root", str(root), "--documents", str(size),
        "--cards", str(max(size // 10, 1))], stdout=subprocess.DEVNULL)
    print(f"{size:>9} documents laid out in {time.perf_counter() - start:.1f} s", flush=True)
    live = root / "DB" / "Varnel.sqlite"
    pristine = work / f"pristine{size}.sqlite"
    shutil.copyfile(live, pristine)
    return root, live, pristine


def bench_size(work, size, runs):
    root, live, pristine = demo_installation(work, size)
    sql_db = work / f"sql{size}.sqlite"
    script = work / f"update{size}.sql"
    script.write_text(update_script(OLD_PATH, NEW_PATH))
    program = str(root / "Utils" / "VrlChangeDocsPathCli")
    cli = [program, "--old", OLD_PATH, "--new", NEW_PATH]
    pristine_digest = content_digest(pristine)

    ours, bare, sql, dry, undo, peaks, busy, longest = [], [], [], [], [], [], [], []
    for run in range(runs):
        order = ["ours", "bare", "sql"]
        order = order[run % 3:] + order[:run % 3]
        for which in order:
            if which == "bare":
                fresh_db(pristine, live)
                seconds, _ = timed(cli + ["--yes", "--no-journal"])
                bare.append(seconds)
                bare_digest = content_digest(live)
            elif which == "ours":
                fresh_db(pristine, live)
                seconds, peak = timed(cli + ["--yes"])
                ours.append(seconds)
                peaks.append(peak)
                ours_digest = content_digest(live)
                # Its undo, on what it left: every record back as it was.
                seconds, peak = timed([program, "--undo", "R1", "--yes"])
                undo.append(seconds)
                peaks.append(peak)
                if content_digest(live) != pristine_digest:
                    sys.exit(f"the undo did not put back every record at {size} documents")
            else:
                fresh_db(pristine, sql_db)
                with open(script) as stdin:
                    seconds, _ = timed(["sqlite3", str(sql_db)], stdin=stdin)
                sql.append(seconds)
                sql_digest = content_digest(sql_db)
        if ours_digest != sql_digest or bare_digest != sql_digest:
            sys.exit(f"MISMATCH at {size} documents: the console program and the SQL statements "
                     "left different Docs/Cards contents")
        fresh_db(pristine, live)
        seconds, peak = timed(cli + ["--dry-run"])
        dry.append(seconds)
        peaks.append(peak)
        if content_digest(live) != pristine_digest:
            sys.exit(f"the dry run changed the database at {size} documents")
        fresh_db(pristine, live)
        seconds, save = timed_with_station(cli + ["--yes"], live)
        busy.append(seconds)
        longest.append(save)
        if content_digest(live) != ours_digest:
            sys.exit(f"the replace beside another station went wrong at {size} documents")
    return {
        "size": size, "ours": statistics.median(ours), "sql": statistics.median(sql),
        "bare": statistics.median(bare),
        "dry": statistics.median(dry), "undo": statistics.median(undo),
        "peak": max(peaks) / 1024.0,
        "busy": statistics.median(busy), "save": max(longest),
    }


def machine():
    cpu = "unknown"
    for line in Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            cpu = line.split(":", 1)[1].strip()
            break
    mem_kb = int(Path("/proc/meminfo").read_text().split()[1])
    sqlite_version = subprocess.run(["sqlite3", "--version"], capture_output=True,
                                    text=True).stdout.split()[0]
    return (f"{os.cpu_count()} cores ({cpu}), {mem_kb / 1048576:.0f} GiB memory, "
            f"Linux {platform.release()}, SQLite {sqlite_version}")


def write_section(start, end, section):
    """Puts section (from its start marker to its end marker) into bench/RESULTS.md in place of
    the one there, or at the end, below the notes."""
    results = ROOT / "bench" / "RESULTS.md"
    current = results.read_text() if results.exists() else ""
    if start in current:
        head, rest = current.split(start, 1)
        tail = rest.split(end, 1)[1] if end in rest else ""
        current = head + section + tail
    else:
        if NOTES_MARKER not in current:
            current += "\n" + NOTES_MARKER + "\n"
        current = current.rstrip("\n") + "\n\n" + section + "\n"
    results.write_text(current)


def parse_args(doc, runs):
    """The drivers' options: --sizes, --runs (default runs) and --keep."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--runs", type=int, default=runs)
    parser.add_argument("--keep", action="store_true", help="keep the demo installations")
    return parser.parse_args()


def main():
    args = parse_args(__doc__, runs=5)
    build()
    work = Path(tempfile.mkdtemp(prefix="vrlbench-"))
    rows = []
    try:
        for size in (int(s) for s in args.sizes.split(",")):
            row = bench_size(work, size, args.runs)
            rows.append(row)
            print(f"{size:>9} documents: ours {row['ours']:.3f} s, without journal "
                  f"{row['bare']:.3f} s, SQL {row['sql']:.3f} s, "
                  f"ratio {row['ours'] / row['sql']:.2f}, dry run {row['dry']:.3f} s, "
                  f"undo {row['undo']:.3f} s, "
                  f"peak {row['peak']:.1f} MiB, beside a station {row['busy']:.3f} s "
                  f"(longest save {row['save']:.3f} s)", flush=True)
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    table = ["| documents | cards | ours (median s) | ours --no-journal (median s) "
             "| SQL (median s) | ours/SQL | ours --no-journal/SQL | dry run (median s) "
             "| undo (median s) | our peak memory (MiB) | ours beside a saving station (median s) | cost of the turns "
             "| longest save during the replace (s) |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for r in rows:
        table.append(f"| {r['size']:,} | {max(r['size'] // 10, 1):,} | {r['ours']:.3f} | "
                     f"{r['bare']:.3f} | {r['sql']:.3f} | {r['ours'] / r['sql']:.2f} | "
                     f"{r['bare'] / r['sql']:.2f} | {r['dry']:.3f} | {r['undo']:.3f} | "
                     f"{r['peak']:.1f} | {r['busy']:.3f} | "
                     f"{(r['busy'] / r['ours'] - 1) * 100:+.1f} % | {r['save']:.3f} |")
    text = "\n".join(table)
    print(text)
    results = ROOT / "bench" / "RESULTS.md"
    # Notes written by hand below the marker survive a new run.
    notes = ""
    if results.exists() and NOTES_MARKER in results.read_text():
        notes = "\n" + NOTES_MARKER + results.read_text().split(NOTES_MARKER, 1)[1]
    results.write_text(
        "# Replace benchmark\n\n"
        f"Machine: {machine()}.\n\n"
        f"Run: `bench/run_bench.py --sizes {args.sizes} --runs {args.runs}` on "
        f"{time.strftime('%Y-%m-%d')}. Each size is a fresh `VrlDemoInstall` tree; every run "
        "starts from an identical copy of its database, written to disk before the run. \"ours\" is the whole "
        "`VrlChangeDocsPathCli --old ... --new ... --yes` process, start-up included, writing "
        "its undo journal; \"ours --no-journal\" the same without the journal; \"undo\" is "
        "`--undo R1 --yes` of the journalled replace, checked to leave every record as it was; "
        "\"SQL\" is "
        "the `sqlite3` shell running the equivalent `UPDATE` statements in one transaction; both "
        "end with identical Docs and Cards contents (checked on every run). \"Beside a saving "
        "station\": the same replace while another connection saves one record every 100 ms, "
        "waiting for the write lock in 1 ms steps as the engine's connections do; the last "
        "column is the longest of those saves. The peak memory is the largest of all our runs "
        "(replace, dry run, undo).\n\n" + text + "\n" +
        notes)


if __name__ == "__main__":
    main()
