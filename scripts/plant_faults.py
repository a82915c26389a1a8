#!/usr/bin/env python3
"""Plants small faults in source files, one at a time, and reports which ones the unit tests miss.

Each fault is a one-line change: a comparison or logical operator turned around, a boolean
flipped, an off-by-one, a negation dropped, or a call statement deleted. Every worker builds its
own clone of the committed tree (without the GUI backend and the benchmarks), then for each fault
edits one file, rebuilds, runs the unit tests and puts the file back. A fault is caught when the
tests fail or time out; one that does not build counts for nothing, and one whose line has changed
since it was found is not planted ("stale").

    scripts/plant_faults.py dialog/item_list.cpp platform/list_view.cpp --limit 60 --seed 3

Results go to <workdir>/results.jsonl, one line per fault of this run, and a summary with every
surviving fault is printed at the end. Create <workdir>/STOP to end the run after the faults in
progress. With --rerun, the faults that survived an earlier run (a copy of its results file) are
planted again in the tree as committed now, whose planted files must not have changed since: new
tests are checked against the faults they were written for. With --sanitize the workers build and
test under ASan+UBSan (build folders of their own), so that a fault that reads or writes one
element past an array counts as caught, as it would in the sanitizer run of the test script. With
--wx the workers build the GUI backend and run the end-to-end suite instead, each on an X server of
its own: for faults in platform/wx/, which only that suite reaches (minutes per fault).

With --matrix each caught fault also records the tests that fail on it ("failing"). A test that
crashes or hangs ends the run, so it is recorded and the rest run again without it, until they
finish ("complete" is false when that took more than a few rounds). From such a run,
--unique PATTERN tells which faults only the tests matching PATTERN (a regular expression on
"Suite.Test") catch: what removing them would cost.

    scripts/plant_faults.py --unique '^(WindowList|WindowTree)' /tmp/plant-faults/results.jsonl
"""

import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent

# (name, pattern, replacement): each match on a line is one fault.
OPERATORS = [
    ("eq->ne", r"==", "!="),
    ("ne->eq", r"!=", "=="),
    ("le->lt", r"<=", "<"),
    ("ge->gt", r">=", ">"),
    ("lt->le", r" < ", " <= "),
    ("gt->ge", r" > ", " >= "),
    ("and->or", r"&&", "||"),
    ("or->and", r"\|\|", "&&"),
    ("true->false", r"\btrue\b", "false"),
    ("false->true", r"\bfalse\b", "true"),
    ("TRUE->FALSE", r"\bTRUE\b", "FALSE"),
    ("FALSE->TRUE", r"\bFALSE\b", "TRUE"),
    ("plus1->minus1", r"\+ 1\b", "- 1"),
    ("minus1->plus1", r"- 1\b", "+ 1"),
    ("drop-not", r"\(!(?!=)", "("),
]

# A statement that is a call and nothing else: "Name(...);", "a.b(...);", "a->b(...);".
CALL_STATEMENT = re.compile(r"^\s*[A-Za-z_:][\w:]*(\s*(\.|->)\s*[A-Za-z_]\w*)*\s*\(.*\);\s*$")
KEYWORD_START = re.compile(r"^\s*(return|if|while|for|switch|case|else|delete|throw)\b")


def code_lines(text):
    """(index, line) of the lines that hold code outside comments and preprocessor lines."""
    in_block = False
    for index, line in enumerate(text.split("\n")):
        stripped = line.strip()
        if in_block:
            if "*/" in stripped:
                in_block = False
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if not stripped or stripped.startswith("//") or stripped.startswith("#"):
            continue
        yield index, line


def faults_of(path):
    text = (REPO / path).read_text()
    faults = []
    for index, line in code_lines(text):
        code = line.split("//", 1)[0]
        if '"' in code:
            # Operators inside string literals are text, not code: leave such lines to the
            # call-statement fault only.
            code_for_ops = re.sub(r'"(\\.|[^"\\])*"', lambda m: "\0" * len(m.group(0)), code)
        else:
            code_for_ops = code
        for name, pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, code_for_ops):
                mutated = line[: match.start()] + replacement + line[match.end():]
                faults.append({"file": path, "line": index + 1, "op": name, "old": line,
                               "new": mutated})
        if CALL_STATEMENT.match(code) and not KEYWORD_START.match(code):
            indent = line[: len(line) - len(line.lstrip())]
            faults.append({"file": path, "line": index + 1, "op": "drop-call", "old": line,
                           "new": indent + ";"})
    return faults


def run(command, cwd, timeout=None):
    # A session of its own, so that a timeout ends everything the command started (xvfb-run leaves
    # its X server and the tests behind otherwise).
    with subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", start_new_session=True) as process:
        try:
            output, _ = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired as expired:
            os.killpg(process.pid, signal.SIGKILL)
            rest, _ = process.communicate()
            expired.output = rest  # what the tests printed before they hung
            raise
    return subprocess.CompletedProcess(command, process.returncode, output)


GTEST_RUN = re.compile(r"^\[ RUN      \] (\S+)", re.M)
GTEST_DONE = re.compile(r"^\[  (?:     OK|FAILED |SKIPPED ) \] ([^\s,]+)", re.M)
GTEST_FAILED = re.compile(r"^\[  FAILED  \] (\S+\.[^\s,]+)", re.M)
MATRIX_ROUNDS = 6


def unfinished_test(output):
    """The test that was running when the output ends, if any: the one that crashed or hung."""
    started = GTEST_RUN.findall(output)
    finished = set(GTEST_DONE.findall(output))
    return started[-1] if started and started[-1] not in finished else None


class Worker:
    def __init__(self, workdir, number, jobs, sanitize, wx, matrix):
        self.number = number
        self.matrix = matrix
        self.source = workdir / f"w{number}"
        self.build = workdir / (f"w{number}-build" + ("-sanitize" if sanitize else "") +
                                ("-wx" if wx else ""))
        self.jobs = jobs
        self.sanitize = sanitize
        self.wx = wx
        # The sanitizers make the tests several times slower; the end-to-end suite takes minutes.
        self.fault_timeout = 600 if wx else 360 if sanitize else 120

    def prepare(self):
        if not self.source.exists():
            run(["git", "clone", "-q", str(REPO), str(self.source)], cwd=REPO).check_returncode()
        else:  # a clone from an earlier run: brought up to the commit now checked out
            run(["git", "fetch", "-q", str(REPO), "HEAD"], cwd=self.source).check_returncode()
            run(["git", "reset", "-q", "--hard", "FETCH_HEAD"], cwd=self.source).check_returncode()
        configure = run(["cmake", "-S", str(self.source), "-B", str(self.build),
                         "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                         f"-DEXPLORER_WX={'ON' if self.wx else 'OFF'}",
                         "-DEXPLORER_BENCHMARKS=OFF", "-DCMAKE_CXX_FLAGS=-w",
                         f"-DEXPLORER_SANITIZE={'ON' if self.sanitize else 'OFF'}"], cwd=self.source)
        configure.check_returncode()
        # The first build has the machine to itself: the workers prepare one after another.
        if not self.compile(jobs=os.cpu_count() or 2):
            raise RuntimeError(f"the unchanged tree does not build in {self.build}")
        tests = self.test(timeout=5 * self.fault_timeout)
        if tests != "survived":
            raise RuntimeError(f"the unchanged tree's tests do not pass in {self.build}")

    def compile(self, jobs=None):
        target = "explorer_e2e_tests" if self.wx else "explorer_tests"
        result = run(["cmake", "--build", str(self.build), "--target", target,
                      "-j", str(jobs or self.jobs)], cwd=self.source)
        return result.returncode == 0

    def test_command(self, *arguments):
        if self.wx:
            return ["xvfb-run", "-n", str(90 + self.number), "-s", "-screen 0 1280x1024x24",
                    str(self.build / "tests" / "e2e" / "explorer_e2e_tests"), *arguments]
        return [str(self.build / "tests" / "explorer_tests"), *arguments]

    def test(self, timeout):
        try:
            result = run(self.test_command("--gtest_brief=1"), cwd=self.build, timeout=timeout)
        except subprocess.TimeoutExpired:
            return "timeout"
        return "survived" if result.returncode == 0 else "killed"

    def test_with_matrix(self, fault, timeout):
        """Like test(), and a caught fault records the tests that fail on it and whether every
        other test ran to its end."""
        failing, excluded, outcome = set(), [], None
        for _ in range(MATRIX_ROUNDS):
            arguments = [f"--gtest_filter=-{':'.join(excluded)}"] if excluded else []
            try:
                result = run(self.test_command(*arguments), cwd=self.build, timeout=timeout)
                output, round_outcome = result.stdout, "killed" if result.returncode else "survived"
            except subprocess.TimeoutExpired as expired:
                output, round_outcome = expired.output or "", "timeout"
            outcome = outcome or round_outcome
            if outcome == "survived":
                return outcome
            failing.update(GTEST_FAILED.findall(output))
            stopped_in = unfinished_test(output)
            if stopped_in is None:
                fault["failing"], fault["complete"] = sorted(failing), True
                return outcome
            failing.add(stopped_in)
            excluded.append(stopped_in)
        fault["failing"], fault["complete"] = sorted(failing), False
        return outcome

    def try_fault(self, fault):
        path = self.source / fault["file"]
        original = path.read_text()
        lines = original.split("\n")
        index = fault["line"] - 1
        # A fault found in a file that has changed since is not planted ("old" is missing only
        # from results of earlier versions of this script).
        if index >= len(lines) or fault.get("old", lines[index]) != lines[index]:
            return "stale"
        lines[index] = fault["new"]
        path.write_text("\n".join(lines))
        try:
            if not self.compile():
                return "buildfail"
            if self.matrix:
                return self.test_with_matrix(fault, timeout=self.fault_timeout)
            return self.test(timeout=self.fault_timeout)
        finally:
            path.write_text(original)
            # Newer than the faulty object, so that the next build compiles it again.
            os.utime(path, None)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("files", nargs="*", help="source files, relative to the repository")
    parser.add_argument("--rerun", help="an earlier run's results.jsonl: its surviving faults")
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--limit", type=int, default=0, help="at most this many faults (0: all)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--workdir", default="/tmp/plant-faults")
    parser.add_argument("--sanitize", action="store_true",
                        help="build and test under AddressSanitizer and UndefinedBehaviorSanitizer")
    parser.add_argument("--wx", action="store_true",
                        help="build the GUI backend and run the end-to-end suite under Xvfb")
    parser.add_argument("--matrix", action="store_true",
                        help="record which tests fail on each caught fault")
    parser.add_argument("--unique", metavar="PATTERN",
                        help="report, from the results file given, the faults only these tests catch")
    args = parser.parse_args()
    if args.unique:
        if len(args.files) != 1:
            parser.error("--unique reads one results file")
        return report_unique(Path(args.files[0]), re.compile(args.unique))
    if bool(args.files) == bool(args.rerun):
        parser.error("give either source files or --rerun")

    workdir = Path(args.workdir)
    workdir.mkdir(parents=True, exist_ok=True)
    # The tests look for the shared test data beside the checkout.
    shared = REPO.parent / "shared"
    if shared.exists() and not (workdir / "shared").exists():
        (workdir / "shared").symlink_to(shared)

    if args.rerun:
        with open(args.rerun) as earlier:
            faults = [json.loads(line) for line in earlier]
        faults = [{key: fault[key] for key in ("file", "line", "op", "old", "new") if key in fault}
                  for fault in faults if fault["outcome"] == "survived"]
    else:
        faults = [fault for path in args.files for fault in faults_of(path)]
        random.Random(args.seed).shuffle(faults)
    if args.limit:
        faults = faults[: args.limit]
    print(f"{len(faults)} faults in {len({fault['file'] for fault in faults})} files", flush=True)

    if args.sanitize:
        os.environ["ASAN_OPTIONS"] = "detect_leaks=1:abort_on_error=1"
        os.environ["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
    workers = [Worker(workdir, n, max(1, (os.cpu_count() or 2) // args.workers), args.sanitize,
                      args.wx, args.matrix)
               for n in range(args.workers)]
    for worker in workers:
        worker.prepare()

    results_path = workdir / "results.jsonl"
    results_path.write_text("")  # this run's results only (a rerun has read its input by now)
    lock = threading.Lock()
    pending = list(faults)
    results = []

    def work(worker):
        while not (workdir / "STOP").exists():
            with lock:
                if not pending:
                    return
                fault = pending.pop(0)
            fault = dict(fault)
            outcome = worker.try_fault(fault)
            with lock:
                results.append(dict(fault, outcome=outcome))
                with results_path.open("a") as out:
                    out.write(json.dumps(results[-1]) + "\n")
                print(f"[{len(results)}/{len(faults)}] {outcome:9} {fault['file']}:{fault['line']} "
                      f"{fault['op']}", flush=True)

    started = time.time()
    threads = [threading.Thread(target=work, args=(worker,)) for worker in workers]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()

    counts = {}
    for result in results:
        counts[result["outcome"]] = counts.get(result["outcome"], 0) + 1
    print(f"\n{len(results)} faults in {time.time() - started:.0f} s: " +
          ", ".join(f"{n} {outcome}" for outcome, n in sorted(counts.items())))
    for result in sorted(results, key=lambda r: (r["file"], r["line"])):
        if result["outcome"] == "survived":
            print(f"survived {result['file']}:{result['line']} {result['op']}: "
                  f"{result['new'].strip()}")
    return 0


def report_unique(results_path, pattern):
    """Prints the caught faults that no test outside pattern catches, and what the rest leave."""
    with open(results_path) as results:
        caught = [fault for fault in map(json.loads, results) if "failing" in fault]
    matched = {name for fault in caught for name in fault["failing"] if pattern.search(name)}
    only = [fault for fault in caught
            if fault["failing"] and all(pattern.search(name) for name in fault["failing"])]
    unsure = [fault for fault in caught if not fault["complete"] and fault not in only]
    print(f"{len(caught)} caught faults with their failing tests; {len(matched)} of those tests "
          f"match; {len(only)} faults are caught by matching tests only")
    for fault in only:
        print(f"only {fault['file']}:{fault['line']} {fault['op']}: {fault['new'].strip()}\n"
              f"     by {', '.join(fault['failing'])}")
    for fault in unsure:
        print(f"incomplete {fault['file']}:{fault['line']} {fault['op']} (some tests did not run)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
