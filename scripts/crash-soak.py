#!/usr/bin/env python3
"""Crash-consistency soak of the console program's journalled commands (local engine).

Lays out one demo installation, times an uninterrupted replace and undo on a copy of it (and
checks the fully replaced copy against the rules below), then, until the time is up, runs
cycles of:

  1. a random command, mostly one with work to do: a replace C:\\VarnelDocs -> E:\\Docs, a
     nested replace C:\\VarnelDocs -> C:\\VarnelDocs\\Archive (--force), or an undo of the last
     standing run that wrote something (now and then an undo the journal must refuse); most
     are killed with SIGKILL at a random moment of their run (timed from the log entry that
     opens it, over the time the last uninterrupted one took), some while they start up, some
     run to their end;
  2. recovery as an administrator would do it: --list-runs, then --resume or --undo of every
     incomplete run until none is left (these are killed too, up to three times a cycle); a
     refusal says which run to finish first;
  3. checks.

After every command (killed or not) the journal rows it committed are replayed on a model of
the Docs and Cards contents: each row must hold the value the record had, must be what the
run's rule (a replace) or its target's journal (an undo) allows, and the tables must then equal
the model exactly (rowid order, NULL told from empty). A command that ended must have done all
of its work, be written complete with its counts, mark what it undid (down a chain of undos),
and exit with the code the model expects; a refusal must be the one the model expects. After
every cycle: no incomplete run stands, --list-runs says what the journal tables hold, PRAGMA
integrity_check is ok, and the tables equal the pristine contents with the standing replaces
applied in journal order. At the end every standing replace is undone, and the tables (every
column) must equal the pristine copy.

Standard library only. Prints its seed; exit code 0 when nothing was found, 1 with the fault,
the seed and the kept work folder otherwise.
"""

import argparse
import contextlib
import hashlib
import os
import random
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback

# The programs run here work on the demo installation they stand in: an installation named in
# the caller's environment must never be the one they change.
os.environ.pop("VRL_INSTALLATION", None)

OLD = "C:\\VarnelDocs"
NEW = "E:\\Docs"
NESTED = OLD + "\\Archive"
TABLES = (("Docs", "DOCUMENT_NAME"), ("Cards", "DOCSFOLDER"))
KILL_SHARE = 0.85  # commands killed; the others run to their end
START_UP_KILL_SHARE = 0.2  # kills timed from the start of a command, not of its run
NO_WORK_WEIGHT = 0.05  # how much less often a command with nothing to do is picked
REFUSED_WEIGHT = 0.05  # how often an undo the journal refuses is tried, when there is one
MAX_RECOVERY_KILLS = 3  # per cycle
MAX_RECOVERY_STEPS = 30  # per cycle: more is a loop the journal commands cannot leave


class Fault(Exception):
    """Something the program got wrong."""


# --- the rewrite rules, as the replace applies them -------------------------------------------

def upper_ascii(text):
    """Upper case as the program takes it: ASCII letters only."""
    return "".join(c.upper() if c.isascii() else c for c in text)


def starts_with_upper(value, prefix):
    """Whether value begins with prefix (upper case ASCII), ASCII letters compared without
    case. (str.upper maps a few other letters to ASCII ones, hence the isascii.)"""
    head = value[: len(prefix)]
    return head.upper() == prefix and head.isascii()


def with_backslash(path):
    return path if path.endswith("\\") else path + "\\"


def without_backslash(path):
    return path[:-1] if path.endswith("\\") else path


def first_letters(prefix):
    """The first characters a value matching prefix may begin with (a quick test first)."""
    return {prefix[:1], prefix[:1].lower()} if prefix else set()


def doc_rule(old, new):
    prefix, put = upper_ascii(with_backslash(old)), with_backslash(new)
    firsts = first_letters(prefix)

    def rewrite(value):
        if value is None or value[:1] not in firsts or not starts_with_upper(value, prefix):
            return None
        return put + value[len(prefix) :]

    return rewrite


def card_rule(old, new):
    prefix, put = upper_ascii(without_backslash(old)), without_backslash(new)
    firsts = first_letters(prefix)

    def rewrite(value):
        if value is None or value[:1] not in firsts:
            return None
        folder = without_backslash(value)
        if not starts_with_upper(folder, prefix):
            return None
        if len(folder) > len(prefix) and folder[len(prefix)] != "\\":
            return None  # C:\DOCS is not C:\DOCS2
        return put + folder[len(prefix) :]

    return rewrite


def rules(old, new):
    return {"Docs": doc_rule(old, new), "Cards": card_rule(old, new)}


# --- reading the database ---------------------------------------------------------------------


@contextlib.contextmanager
def connect(db):
    """A read-only connection, closed on leaving: none may stay open while a command runs (a
    connection left open keeps its view of the shared memory index across a kill)."""
    con = sqlite3.connect(f"file:{db}?mode=ro", uri=True)
    try:
        yield con
    finally:
        con.close()


def read_values(db, with_recids=False):
    """{table: (rowids, recids, values)} of the rewritten fields, in rowid order (recids None
    unless asked for)."""
    out = {}
    with connect(db) as con:
        for table, field in TABLES:
            columns = f"rowid, {field}, RECID" if with_recids else f"rowid, {field}"
            rows = con.execute(f"SELECT {columns} FROM {table} ORDER BY rowid").fetchall()
            recids = [r[2] for r in rows] if with_recids else None
            out[table] = ([r[0] for r in rows], recids, [r[1] for r in rows])
    return out


def other_columns_digest(db):
    """A digest of every column but the rewritten field, per table, in rowid order."""
    digest = {}
    with connect(db) as con:
        for table, field in TABLES:
            cur = con.execute(f"SELECT rowid, * FROM {table} ORDER BY rowid")
            skip = [d[0].upper() for d in cur.description].index(field.upper())
            h = hashlib.blake2b()
            for row in cur:
                h.update(repr(row[:skip] + row[skip + 1 :]).encode())
            digest[table] = h.hexdigest()
    return digest


def table_exists(con, name):
    return con.execute(
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", (name,)
    ).fetchall()


def read_runs(db):
    """{run id: dict of the VrlPathRuns columns}."""
    with connect(db) as con:
        if not table_exists(con, "VrlPathRuns"):
            return {}
        con.row_factory = sqlite3.Row
        return {r["RunId"]: dict(r) for r in con.execute("SELECT * FROM VrlPathRuns")}


def read_journal_after(db, last_rowid):
    """The journal rows after last_rowid: [(rowid, run, table, recid, field, old, new)]."""
    with connect(db) as con:
        if not table_exists(con, "VrlPathJournal"):
            return []
        return con.execute(
            "SELECT rowid, RunId, TableName, RecId, FieldName, OldValue, NewValue "
            "FROM VrlPathJournal WHERE rowid > ? ORDER BY rowid",
            (last_rowid,),
        ).fetchall()


def integrity(db):
    with connect(db) as con:
        return [r[0] for r in con.execute("PRAGMA integrity_check").fetchall()]


def parse_counts(text):
    counts = {}
    for part in (text or "").split(";"):
        name, _, number = part.partition("=")
        if name and number.isdigit():
            counts[name] = int(number)
    return counts


# --- the model --------------------------------------------------------------------------------


class Run:
    def __init__(self, run_id, kind, old, new, target):
        self.id, self.kind, self.old, self.new, self.target = run_id, kind, old, new, target
        self.rules = rules(old, new)
        self.complete = False
        self.undone_by = ""
        self.rows = {table: {} for table, _ in TABLES}  # recid -> (old value, new value)


def run_number(run_id):
    return int(run_id[1:])


class Model:
    """The contents the tables must have, the runs the journal must hold."""

    def __init__(self, values):
        self.rowids = {t: v[0] for t, v in values.items()}
        self.recids = {t: v[1] for t, v in values.items()}
        self.values = {t: list(v[2]) for t, v in values.items()}
        self.index = {t: {r: i for i, r in enumerate(v[1])} for t, v in values.items()}
        self.runs = {}
        self.journal_rowid = 0

    def standing(self, run):
        return not run.undone_by

    def standing_replaces(self):
        """The standing replaces that wrote something, latest first. (One that wrote nothing
        found nothing under its old folder, and changes nothing when an earlier one is undone
        after it.)"""
        return [run for run in sorted(self.runs.values(), key=lambda r: -run_number(r.id))
                if run.kind == "replace" and self.standing(run) and any(run.rows.values())]

    def last_standing(self):
        """The last standing run that wrote something and may be undone: those after it are
        undone, wrote nothing, or undid a run that never finished (which the journal refuses
        to undo); none of them changed anything that stands."""
        for run in sorted(self.runs.values(), key=lambda r: -run_number(r.id)):
            if (self.standing(run) and any(run.rows.values())
                    and not self.refusal("undo", run.id)):
                return run
        return None

    def apply_rows(self, run, rows):
        """Replays journal rows the program committed for run; a row it must not have written
        is a fault."""
        fields = dict(TABLES)
        for rowid, run_id, table, recid, field, old, new in rows:
            self.journal_rowid = max(self.journal_rowid, rowid)
            where = f"journal row {rowid} ({run_id} {table} {recid})"
            if run_id != run.id:
                raise Fault(f"{where}: written while {run.id} ran")
            if fields.get(table) != field:
                raise Fault(f"{where}: field {field!r} is not the one {table} is rewritten in")
            i = self.index[table].get(recid)
            if i is None:
                raise Fault(f"{where}: no such record")
            if recid in run.rows[table]:
                raise Fault(f"{where}: the run journalled this record twice")
            if self.values[table][i] != old:
                held = self.values[table][i]
                raise Fault(f"{where}: old value {old!r}, but the record held {held!r}")
            if run.kind == "replace":
                if run.rules[table](old) != new:
                    raise Fault(f"{where}: {old!r} -> {new!r} is not the replace's rewrite")
            else:
                target = self.runs[run.target].rows[table].get(recid)
                if target != (new, old):
                    raise Fault(f"{where}: {old!r} -> {new!r} undoes no row of {run.target}")
            run.rows[table][recid] = (old, new)
            self.values[table][i] = new

    def unfinished(self, run, first_only=False):
        """What run still has to do: (table, recid) pairs it would rewrite now (with first_only
        the first one found)."""
        left = []
        for table, _ in TABLES:
            if run.kind == "replace":
                rewrite = run.rules[table]
                for recid, value in zip(self.recids[table], self.values[table]):
                    if recid not in run.rows[table] and rewrite(value) is not None:
                        left.append((table, recid))
                        if first_only:
                            return left
            else:
                for recid, (_, written) in self.runs[run.target].rows[table].items():
                    if recid not in run.rows[table]:
                        if self.values[table][self.index[table][recid]] == written:
                            left.append((table, recid))
                            if first_only:
                                return left
        return left

    def refusal(self, action, run_id):
        """The refusal the journal commands give action ("undo" or "resume") of run_id, as
        (kind, message part, run to finish first); None when they go on."""
        run = self.runs[run_id]
        if run.undone_by:
            return ("undone", f"Run {run_id} was already undone by run {run.undone_by}.", None)
        if action == "resume" and run.complete:
            return ("complete", f"Run {run_id} is complete", None)
        if action == "resume" and run.kind == "undo":
            run = self.runs[run.target]  # the undo being resumed is checked against its run
            if run.undone_by:
                return ("undone", f"Run {run.id} was already undone by run {run.undone_by}.", None)
        for undo in sorted(self.runs.values(), key=lambda r: run_number(r.id)):
            if (undo.kind == "undo" and undo.target == run.id and not undo.complete
                    and not undo.undone_by and undo.id != run_id):
                return ("unfinished", f"Run {run.id} has an unfinished undo, run {undo.id}.",
                        undo.id)
        if action == "undo" and run.kind == "undo" and not self.runs[run.target].complete:
            return ("unfinished-target",
                    f"Run {run.id} undid run {run.target}, which never finished", None)
        return None

    def left_alone(self, undo):
        """Journalled records of the undone run that the undo did not put back."""
        target = self.runs[undo.target]
        return sum(len(target.rows[t]) - len(undo.rows[t]) for t, _ in TABLES)

    def settle_undo(self, undo):
        """An undo that completed: its run is undone. Down the chain of undos below it, a
        complete undo that stands keeps its run undone, and the run of one that no longer
        stands (or never completed) stands again: undoing an undo makes its run stand again,
        undoing the undo of an undo takes that run back once more."""
        run = self.runs[undo.target]
        run.undone_by = undo.id
        while run.kind == "undo":
            below = self.runs[run.target]
            if run.complete and self.standing(run):
                if not below.undone_by:
                    below.undone_by = run.id
            elif below.undone_by == run.id:
                below.undone_by = ""
            run = below

    def expected_from_standing(self, pristine, cache):
        """The contents the journal says the tables hold: the pristine ones with every standing
        replace applied in journal order. cache: earlier answers by the folders replaced, from
        which the longest beginning is taken."""
        standing = self.standing_replaces()[::-1]
        key = tuple((run.old, run.new) for run in standing)
        if len(cache) > 64:
            cache.clear()
        done = max((n for n in range(len(key) + 1) if key[:n] in cache), default=None)
        if done is None:
            done, values = 0, {t: v[2] for t, v in pristine.items()}
        else:
            values = cache[key[:done]]
        for n in range(done, len(key)):
            values = replaced(values, standing[n].rules)
            cache[key[: n + 1]] = values
        return values


def replaced(values, table_rules):
    """values ({table: column}) with a replace's rules applied to every record."""
    out = {}
    for table, column in values.items():
        rewrite = table_rules[table]
        out[table] = [v if (r := rewrite(v)) is None else r for v in column]
    return out


def first_difference(expected, actual):
    for table, _ in TABLES:
        for i, (e, a) in enumerate(zip(expected[table], actual[table])):
            if e != a:
                return f"{table} row {i + 1}: expected {e!r}, found {a!r}"
    return None


# --- the soak ---------------------------------------------------------------------------------

LIST_LINE = re.compile(
    r"^(R\d+)  \S+ \S+  (.*) -> (.*)  Docs (\d+), Cards (\d+)  (replace|undo of (R\d+))"
    r"(?:, undone by (R\d+))?(, incomplete)?$"
)


LOG_NAME = "UserLog_VrlChangeDocsPathCli.TXT"
RUN_BEGAN = b"Proc_Name=Undo Journal\r\n"
POLL = 0.003  # seconds between looks at a running command


def run_began_in_log(log, seen):
    """Whether the log holds a run's first entry after offset seen; answers (offset read up
    to, found). Only one command runs at a time, so a new entry is the running command's. A
    log moved aside at its size limit starts again at 0."""
    try:
        with open(log, "rb") as f:
            if os.fstat(f.fileno()).st_size < seen:
                seen = 0
            start = max(seen - len(RUN_BEGAN) + 1, 0)
            f.seek(start)
            data = f.read()
    except FileNotFoundError:
        return seen, False
    return start + len(data), RUN_BEGAN in data


class Ran:
    """One run of the console program: exit code, output, whether SIGKILL ended it, seconds
    from its start to its run's beginning (None when it began none) and to its end."""

    code = None
    text = ""
    killed = False
    run_began = None
    took = 0.0


class Soak:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.root = os.path.join(args.work, "CRM")
        self.cli = os.path.join(self.root, "Utils", "VrlChangeDocsPathCli")
        self.db = os.path.join(self.root, "DB", "Varnel.sqlite")
        self.spans = {}
        self.expected_cache = {}
        # Kills by moment: before the run began (start-up), in its passes with and without rows
        # committed, after its end (the run written complete).
        self.stats = {"commands": 0, "kills": 0, "before-run": 0, "in-run": 0,
                      "in-run-committed": 0, "after-end": 0}

    # -- running the program --

    def run_cli(self, cli, argv, kill=None):
        """Runs the console program. kill: None, or (moment, delay): SIGKILL delay seconds after
        the start ("start") or after the run began ("run": the log entry "Undo Journal" that
        every journalled run writes once its run row is in the journal). Answers a Ran."""
        log = os.path.join(os.path.dirname(os.path.dirname(cli)), "Logs", LOG_NAME)
        seen = os.path.getsize(log) if os.path.exists(log) else 0
        ran = Ran()
        with tempfile.TemporaryFile("w+") as out:
            started = time.monotonic()
            proc = subprocess.Popen(
                [cli] + argv, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT
            )
            while True:
                ended = proc.poll() is not None
                now = time.monotonic()
                if ran.run_began is None:
                    seen, began = run_began_in_log(log, seen)
                    if began:
                        ran.run_began = now - started
                if ended:
                    break
                if kill is not None:
                    moment, delay = kill
                    since = started if moment == "start" else (
                        None if ran.run_began is None else started + ran.run_began)
                    if since is not None and now - since >= delay:
                        proc.send_signal(signal.SIGKILL)  # not sent when it has just ended
                        proc.wait()
                        continue
                if now - started > self.args.command_timeout:
                    proc.kill()
                    proc.wait()
                    raise Fault(f"{' '.join(argv)} did not end in {self.args.command_timeout} s")
                time.sleep(POLL)
            ran.took = time.monotonic() - started
            ran.code = proc.returncode
            ran.killed = ran.code == -signal.SIGKILL
            out.seek(0)
            ran.text = out.read()
        return ran

    def list_runs(self):
        ran = self.run_cli(self.cli, ["--list-runs"])
        code, text = ran.code, ran.text
        if code != 0:
            raise Fault(f"--list-runs exited {code}:\n{text}")
        runs = []
        for line in text.splitlines():
            if line == "No run is journalled in this database.":
                continue
            m = LIST_LINE.match(line)
            if not m:
                raise Fault(f"--list-runs printed a line of no known shape: {line!r}")
            runs.append(
                {
                    "id": m[1],
                    "old": m[2],
                    "new": m[3],
                    "Docs": int(m[4]),
                    "Cards": int(m[5]),
                    "target": m[7] or "",
                    "undone_by": m[8] or "",
                    "incomplete": bool(m[9]),
                }
            )
        return runs

    # -- one command, checked --

    def command(self, argv, kind, resumes=None, kill=True):
        """Runs one journal-writing command (killed after a random delay when kill), then
        replays and checks what it committed. kind: "replace", "nested", "undo" or "resume";
        resumes: the run a resume finishes. Answers (outcome text, output)."""
        model = self.model
        before = set(read_runs(self.db))
        undoes = kind == "undo" or (resumes and model.runs[resumes].kind == "undo")
        span = "undo" if undoes else "replace"
        moment = self.kill_moment(span) if kill else None
        ran = self.run_cli(self.cli, argv, moment)
        code, text, killed = ran.code, ran.text, ran.killed
        self.stats["commands"] += 1
        runs = read_runs(self.db)
        if self.args.verbose:
            print(f"  {' '.join(argv)}: kill {moment}, exit {code}, run began {ran.run_began}, "
                  f"ended {ran.took:.2f}, runs "
                  f"{sorted(before, key=run_number)} -> {sorted(runs, key=run_number)}", flush=True)
        new_ids = sorted(set(runs) - before, key=run_number)
        if len(new_ids) > 1 or (resumes and new_ids):
            raise Fault(f"{' '.join(argv)} began runs {new_ids}")
        run = None
        if new_ids:
            r = runs[new_ids[0]]
            run = Run(r["RunId"], r["Kind"], r["OldFolder"], r["NewFolder"], r["Target"] or "")
            model.runs[run.id] = run
        elif resumes:
            run = model.runs[resumes]
        rows = read_journal_after(self.db, model.journal_rowid)
        if run is None and rows:
            raise Fault(f"{' '.join(argv)} journalled {len(rows)} rows without a run")
        if run is not None:
            model.apply_rows(run, rows)
        self.check_tables(f"after {' '.join(argv)}")

        if not killed and code not in (0, 1):
            raise Fault(f"{' '.join(argv)} exited {code} (not killed):\n{text}")
        if run is None:  # refused, or killed before its run began
            if killed:
                self.stats["kills"] += 1
                self.stats["before-run"] += 1
                return f"killed at {ran.took:.2f} s, before its run began", text
            if code == 0:
                raise Fault(f"{' '.join(argv)} exited 0 and journalled no run:\n{text}")
            return "refused", text

        state = runs[run.id]["State"]
        was_complete = run.complete
        if killed:
            self.stats["kills"] += 1
        if state != "complete":
            if resumes and not killed and code == 1 and not rows:
                return "refused", text  # the run it would finish stays as it was
            if not killed:
                raise Fault(f"{' '.join(argv)} exited {code} leaving {run.id} {state!r}:\n{text}")
            if state not in ("running", "incomplete"):
                raise Fault(f"run {run.id} is in state {state!r}")
            self.stats["in-run"] += 1
            self.stats["in-run-committed"] += 1 if rows else 0
            self.check_journal(runs)
            into = "" if ran.run_began is None else (
                f", {ran.took - ran.run_began:.2f} s into its run")
            return f"killed at {ran.took:.2f} s{into}, {len(rows)} rows committed", text
        if was_complete:
            raise Fault(f"{' '.join(argv)} ran on {run.id}, which was already complete")
        # The run ended: all of its work done, counted, and what it undid marked.
        left = model.unfinished(run)
        if left:
            raise Fault(f"{run.id} is complete but left {len(left)} records to do, e.g. {left[0]}")
        counts = parse_counts(runs[run.id].get("Counts"))
        held = {t: len(run.rows[t]) for t, _ in TABLES}
        if counts != held:
            raise Fault(f"{run.id} recorded writing {counts}, its journal holds {held}")
        run.complete = True
        if run.kind == "undo":
            model.settle_undo(run)
        if killed:
            self.stats["after-end"] += 1
        else:
            expected = 1 if run.kind == "undo" and model.left_alone(run) else 0
            if code != expected:
                raise Fault(f"{' '.join(argv)} exited {code}, expected {expected}:\n{text}")
            if not resumes and rows and ran.run_began is not None:
                # The journal grows, and with it the time a command takes to start and to end.
                self.spans[span] = (ran.run_began, ran.took - ran.run_began)
        self.check_journal(runs)
        return ("killed after its end" if killed else "completed") + f", {len(rows)} rows", text

    def kill_moment(self, span):
        """When to kill a command: mostly in its passes, timed from the beginning of its run;
        sometimes while it starts up (the start-up reads the journal)."""
        start_up, passes = self.spans[span]
        if self.rng.random() < START_UP_KILL_SHARE:
            return ("start", self.rng.uniform(0, start_up * 1.1))
        return ("run", self.rng.uniform(0, passes * 1.05))

    def check_tables(self, when):
        actual = read_values(self.db)
        for table, _ in TABLES:
            if actual[table][0] != self.model.rowids[table]:
                raise Fault(f"{when}: records of {table} were added or removed")
        where = first_difference(self.model.values, {t: v[2] for t, v in actual.items()})
        if where:
            raise Fault(f"{when}: the tables differ from what the journal says was written: "
                        f"{where}")

    def check_journal(self, runs):
        """The runs table against the model: the runs, their kinds, folders and undone marks."""
        model = self.model
        if set(runs) != set(model.runs):
            raise Fault(f"the journal holds runs {sorted(runs)}, expected {sorted(model.runs)}")
        for run in model.runs.values():
            r = runs[run.id]
            got = (r["Kind"], r["OldFolder"], r["NewFolder"], r["Target"] or "",
                   r["UndoneBy"] or "")
            want = (run.kind, run.old, run.new, run.target, run.undone_by)
            if got != want:
                raise Fault(f"run {run.id} reads {got} in the journal, expected {want}")
            if run.complete != (r["State"] == "complete"):
                raise Fault(f"run {run.id} is {r['State']!r} in the journal")

    def check_listing(self, listed):
        """--list-runs against the model."""
        model = self.model
        if [r["id"] for r in listed] != sorted(model.runs, key=run_number):
            raise Fault(f"--list-runs lists {[r['id'] for r in listed]}")
        for r in listed:
            run = model.runs[r["id"]]
            got = (r["old"], r["new"], r["Docs"], r["Cards"], r["target"], r["undone_by"],
                   r["incomplete"])
            want = (run.old, run.new, len(run.rows["Docs"]), len(run.rows["Cards"]), run.target,
                    run.undone_by, not run.complete)
            if got != want:
                raise Fault(f"--list-runs says {got} of {run.id}, expected {want}")

    # -- the cycle --

    def main_command(self):
        """A random command, mostly one with work to do: a replace when nothing is left under
        the old folder, or an undo of a run that wrote nothing, would end before a kill could
        reach a pass. Answers (argv, kind, name, the run an undo undoes)."""
        model = self.model
        last = model.last_standing()
        # Both replaces rewrite what lies under the old folder.
        replace_work = bool(model.unfinished(Run("R0", "replace", OLD, NEW, ""), True))
        candidates = [
            (0.3, ["--old", OLD, "--new", NEW, "--yes"], "replace", "replace", None, replace_work),
            (0.25, ["--old", OLD, "--new", NESTED, "--yes", "--force"], "nested", "nested replace",
             None, replace_work),
        ]
        if last is not None:
            undo_work = bool(model.unfinished(Run("R0", "undo", last.new, last.old, last.id), True))
            candidates.append((0.45, ["--undo", last.id, "--yes"], "undo", f"undo {last.id}",
                               last.id, undo_work))
        # Now and then an undo the journal refuses: the last run, when it undid a run that never
        # finished.
        latest = max(model.runs.values(), key=lambda r: run_number(r.id), default=None)
        if latest is not None and latest is not last and model.refusal("undo", latest.id):
            candidates.append((REFUSED_WEIGHT, ["--undo", latest.id, "--yes"], "undo",
                               f"undo {latest.id}", latest.id, True))
        # Replaces on replaces are fewer the more there are: each is undone at the end.
        deeper = 0.5 ** len(model.standing_replaces())
        weights = [(w * (1 if target else deeper)) if work else w * NO_WORK_WEIGHT
                   for w, _, _, _, target, work in candidates]
        _, argv, kind, name, target, _ = self.rng.choices(candidates, weights)[0]
        return argv, kind, name, target

    @staticmethod
    def expect_refusal(expected, action, run_id, outcome, text):
        """Checks a command's refusal (or its absence) against the one the model expected
        before it ran (None: the command may run)."""
        if outcome == "refused":
            if expected is None or expected[1] not in text:
                raise Fault(f"{action} {run_id} was refused:\n{text}")
        elif expected is not None and not outcome.startswith("killed"):
            raise Fault(f"{action} {run_id} was not refused ({expected[1]}): {outcome}")
        return expected

    def recover(self, log):
        """Finishes or undoes every incomplete run, as an administrator would from --list-runs:
        a refusal says which run to finish first."""
        kills = self.rng.randint(0, MAX_RECOVERY_KILLS)
        prefer = None
        for _ in range(MAX_RECOVERY_STEPS):
            listed = self.list_runs()
            self.check_listing(listed)
            pending = [r["id"] for r in listed if r["incomplete"] and not r["undone_by"]]
            if not pending:
                return listed
            if prefer and prefer[0] in pending:
                run_id, action = prefer
            else:
                run_id, action = self.rng.choice(pending), self.rng.choice(["resume", "undo"])
            kill = kills > 0 and self.rng.random() < 0.6
            expected = self.model.refusal(action, run_id)
            if action == "resume":
                outcome, text = self.command(["--resume", run_id, "--yes"], "resume", run_id, kill)
            else:
                outcome, text = self.command(["--undo", run_id, "--yes"], "undo", None, kill)
            if outcome.startswith("killed"):
                kills -= 1
            log.append(f"{action} {run_id}: {outcome}")
            self.expect_refusal(expected, action, run_id, outcome, text)
            prefer = None
            if outcome == "refused":
                # An unfinished undo of the run is finished (or undone) first; an undo of an undo
                # whose run never finished is not undone but finished.
                kind, _, first = expected
                prefer = (first, self.rng.choice(["resume", "undo"])) if kind == "unfinished" else (
                    run_id, "resume")
        raise Fault(f"the incomplete runs were not finished in {MAX_RECOVERY_STEPS} commands")

    def check_cycle(self, listed):
        """The end of a cycle; listed: --list-runs once every run was finished."""
        runs = read_runs(self.db)
        self.check_journal(runs)
        for run in self.model.runs.values():
            if not run.complete and not run.undone_by:
                raise Fault(f"run {run.id} is left incomplete")
        self.check_listing(listed)
        expected = self.model.expected_from_standing(self.pristine, self.expected_cache)
        where = first_difference(expected, self.model.values)
        if where:
            raise Fault(f"the tables are not the pristine ones with the standing replaces: {where}")
        problems = integrity(self.db)
        if problems != ["ok"]:
            raise Fault(f"integrity_check: {problems[:5]}")

    # -- setting up and ending --

    def lay_out(self, root):
        code = subprocess.run(
            [os.path.join(self.args.build, "bin", "VrlDemoInstall"), "--root", root,
             "--documents", str(self.args.documents), "--cards", str(self.args.cards)],
            stdout=subprocess.DEVNULL,
        ).returncode
        if code != 0:
            sys.exit(f"VrlDemoInstall exited {code}")

    def timed(self, cli, argv):
        """Runs an uninterrupted command on the reference copy: (start-up, passes) seconds."""
        ran = self.run_cli(cli, argv)
        if ran.code != 0 or ran.run_began is None:
            raise Fault(f"{' '.join(argv)} on the reference copy exited {ran.code}:\n{ran.text}")
        return ran.run_began, ran.took - ran.run_began

    def reference_runs(self):
        """On a copy of the installation: times an uninterrupted replace and its undo, and
        checks that the fully replaced contents are the pristine ones under the soak's own
        rules, and that the undo gives the pristine ones back."""
        copy = os.path.join(self.args.work, "reference")
        shutil.copytree(self.root, copy, symlinks=True)
        cli = os.path.join(copy, "Utils", "VrlChangeDocsPathCli")
        db = os.path.join(copy, "DB", "Varnel.sqlite")
        pristine = {t: v[2] for t, v in self.pristine.items()}
        self.spans["replace"] = self.timed(cli, ["--old", OLD, "--new", NEW, "--yes"])
        where = first_difference(replaced(pristine, rules(OLD, NEW)),
                                 {t: v[2] for t, v in read_values(db).items()})
        if where:
            raise Fault(f"the fully replaced copy is not as expected: {where}")
        self.spans["undo"] = self.timed(cli, ["--undo", "R1", "--yes"])
        where = first_difference(pristine, {t: v[2] for t, v in read_values(db).items()})
        if where:
            raise Fault(f"undoing R1 on the reference copy left: {where}")
        shutil.rmtree(copy)

    def restore_pristine(self):
        """Undoes every standing replace, latest first; the tables must then be pristine."""
        for run in self.model.standing_replaces():
            outcome, text = self.command(["--undo", run.id, "--yes"], "undo", None, kill=False)
            if not outcome.startswith("completed"):
                raise Fault(f"the final undo of {run.id}: {outcome}\n{text}")
        self.check_cycle(self.list_runs())
        where = first_difference({t: v[2] for t, v in self.pristine.items()}, self.model.values)
        if where:
            raise Fault(f"after undoing every standing replace: {where}")
        if other_columns_digest(self.db) != self.pristine_digest:
            raise Fault("a column the commands never write has changed")

    def run(self):
        start = time.monotonic()
        self.lay_out(self.root)
        self.pristine = read_values(self.db, with_recids=True)
        self.pristine_digest = other_columns_digest(self.db)
        self.reference_runs()
        print(
            "crash-soak: uninterrupted on the reference copy: replace %.2f + %.2f s, undo %.2f + "
            "%.2f s (start-up + run); set-up %.1f s"
            % (*self.spans["replace"], *self.spans["undo"], time.monotonic() - start),
            flush=True,
        )
        self.model = Model(self.pristine)
        loop_start = time.monotonic()
        cycle = 0
        # A cycle is begun only when it and the undos that restore the pristine contents at the
        # end are likely to be over within the time (guessed from the cycles so far and the
        # last undo's time).
        while time.monotonic() - loop_start + (
            (time.monotonic() - loop_start) / cycle if cycle else 0
        ) + len(self.model.standing_replaces()) * sum(self.spans["undo"]) < self.args.seconds:
            cycle += 1
            argv, kind, name, target = self.main_command()
            kill = self.rng.random() < KILL_SHARE
            expected = self.model.refusal("undo", target) if target else None
            outcome, text = self.command(argv, kind, None, kill)
            if target:
                self.expect_refusal(expected, "undo", target, outcome, text)
            elif outcome == "refused":
                raise Fault(f"{name} was refused:\n{text}")
            log = [f"{name}: {outcome}"]
            self.check_cycle(self.recover(log))
            print(f"cycle {cycle}: " + "; ".join(log), flush=True)
        loop_time = time.monotonic() - loop_start
        restore_start = time.monotonic()
        self.restore_pristine()
        restore_time = time.monotonic() - restore_start
        s = self.stats
        print(
            f"crash-soak: {cycle} cycles in {loop_time:.1f} s, "
            f"{s['commands']} commands, {s['kills']} killed ({s['in-run']} in their runs, "
            f"{s['in-run-committed']} of them after a commit; {s['before-run']} before their run "
            f"began, {s['after-end']} after its end); pristine restored in {restore_time:.1f} s; "
            f"{time.monotonic() - start:.1f} s in all",
            flush=True,
        )
        return cycle


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", nargs="?", default="build",
                        help="the build folder (default: build)")
    parser.add_argument("--seconds", type=float, default=60,
                        help="time for the cycles and the undos at the end (default 60)")
    parser.add_argument("--documents", type=int, default=100000, help="documents (default 100000)")
    parser.add_argument("--cards", type=int, help="cards (default: a tenth of the documents)")
    parser.add_argument("--seed", type=int, help="the random seed (default: a new one, printed)")
    parser.add_argument("--work",
                        help="work folder (default: a new temporary one, removed on success)")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("--verbose", action="store_true", help="print every command")
    parser.add_argument("--command-timeout", type=float, default=300, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.cards is None:
        args.cards = max(args.documents // 10, 1)
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1, 2**31)
    args.build = os.path.abspath(args.build)
    if not os.access(os.path.join(args.build, "bin", "VrlDemoInstall"), os.X_OK):
        parser.error(f"{args.build} holds no bin/VrlDemoInstall: build the project first")
    made_work = args.work is None
    if made_work:
        args.work = tempfile.mkdtemp(prefix="crash-soak-")
    elif os.path.exists(args.work):
        parser.error(f"--work {args.work}: give a folder that does not exist yet")
    else:
        os.makedirs(args.work)
    print(
        f"crash-soak: seed {args.seed}, {args.documents} documents, {args.cards} cards, "
        f"{args.seconds:g} s, work folder {args.work}",
        flush=True,
    )
    try:
        Soak(args).run()
    except (Fault, Exception) as fault:
        if not isinstance(fault, Fault):
            traceback.print_exc()
        print(f"crash-soak: FAULT: {fault}", file=sys.stderr)
        print(
            f"crash-soak: replay with: {sys.argv[0]} {args.build} --seed {args.seed} "
            f"--documents {args.documents} --cards {args.cards} --seconds {args.seconds:g}; "
            f"the installation is kept in {args.work}",
            file=sys.stderr,
        )
        return 1
    if made_work and not args.keep:
        shutil.rmtree(args.work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
