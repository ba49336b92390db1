#!/usr/bin/env python3
"""Judges the test suite by the faults it catches.

Plants small faults in src/, one at a time, chosen at random from a seed: a comparison flipped to its
neighbour (< and <=, > and >=, == and !=), an integer constant made one larger or smaller, or a statement
removed. Each fault is built in its own build folder and the test suite is run on it; a fault the suite
fails on is killed. Every planted file is put back byte for byte afterwards, also when interrupted.

    scripts/mutants.py --count 40 --seed 11
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Binary comparisons as clang-format writes them (spaces around), so template brackets, shifts, arrows
# and #include lines never match.
FLIPS = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ", " != ": " == "}
COMPARISON = re.compile("|".join(re.escape(k) for k in sorted(FLIPS, key=len, reverse=True)))
# A whole integer literal: not part of a name, a float, a hexadecimal number or a suffixed literal.
NUMBER = re.compile(r"(?<![\w.])\d+(?![\w.])")
# A statement on one line that does something: a call or an assignment, not a declaration or a return.
STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.\->\[\]()]*\s*(\(|=[^=]|\+=|-=|\+\+|--)")
SKIPPED_STARTS = ("#", "//", "*", "/*", "return", "case ", "default", "static_assert", "using ")


def code_part(line):
    """The line without a trailing // comment and with string and character literals blanked out."""
    line = re.sub(r'"(\\.|[^"\\])*"', lambda m: '"' + " " * (len(m.group(0)) - 2) + '"', line)
    line = re.sub(r"'(\\.|[^'\\])'", "' '", line)
    cut = line.find("//")
    return line if cut < 0 else line[:cut]


def faults_in(path):
    """Every fault that can be planted in one file: (path, line number, kind, old line, new line)."""
    found = []
    lines = path.read_text(encoding="utf-8").split("\n")
    for number, line in enumerate(lines):
        stripped = line.strip()
        if not stripped or stripped.startswith(SKIPPED_STARTS):
            continue
        code = code_part(line)
        for m in COMPARISON.finditer(code):
            new = line[: m.start()] + FLIPS[m.group(0)] + line[m.end() :]
            found.append((path, number, "comparison", line, new))
        for m in NUMBER.finditer(code):
            value = int(m.group(0))
            for changed in (value + 1, value - 1):
                if changed >= 0:
                    new = line[: m.start()] + str(changed) + line[m.end() :]
                    found.append((path, number, "constant", line, new))
        # Statements sit inside function bodies: indented past namespace scope in sources and past class
        # scope in headers, which keeps member declarations out.
        indent = line[: len(line) - len(line.lstrip())]
        if (
            len(indent) >= (8 if path.suffix == ".h" else 4)
            and STATEMENT.match(code)
            and code.rstrip().endswith(";")
            and code.count("(") == code.count(")")
            and code.count("{") == code.count("}")
        ):
            found.append((path, number, "statement removed", line, indent + "{}"))
    return found


RUNNING = []  # the command under way, so an interruption can stop it with everything it started


def kill_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def run(command, cwd, timeout, env=None):
    """Exit status of a command, or None when it ran past its time."""
    process = subprocess.Popen(
        command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True
    )
    RUNNING.append(process)
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        kill_group(process)
        process.wait()
        return None
    finally:
        RUNNING.remove(process)


def nearest_tests(path):
    """The ctest names of the tests beside a source: tests/<its folder>/, or the window's for a folder
    with no tests of its own (its code is driven through the window)."""
    folder = path.relative_to(ROOT / "src").parts[0]
    return f"^{folder}/" if (ROOT / "tests" / folder).is_dir() else "^window/"


def run_nearest_first(mutant_ctest, path, build, args, env):
    """Runs the tests nearest the fault first, since they most often catch it, then the rest; a failure in
    the first stops there. Status as run() gives it."""
    if args.tests:
        return run(mutant_ctest, build, args.timeout * 2, env)
    near = nearest_tests(path)
    status = run(mutant_ctest + ["-R", near], build, args.timeout * 2, env)
    if status != 0:
        return status
    return run(mutant_ctest + ["-E", near], build, args.timeout * 2, env)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--count", type=int, default=20, help="faults to plant (default 20)")
    parser.add_argument("--seed", type=int, help="seed of the random choice (default: a new one, printed)")
    parser.add_argument("--build", default="build-mutants", help="build folder in the repository (made if missing)")
    parser.add_argument("--timeout", type=int, default=1800, help="seconds allowed for one test run")
    parser.add_argument("--tests", help="only the tests whose names match this regular expression (ctest -R)")
    parser.add_argument("--target", action="append", help="build only this target (repeatable), with --tests")
    parser.add_argument("--files", default=r".*\.(cpp|h)$", help="regular expression on paths under src/")
    parser.add_argument("--list", action="store_true", help="print the chosen faults and stop")
    args = parser.parse_args()

    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    wanted = re.compile(args.files)
    sources = sorted(p for p in (ROOT / "src").rglob("*") if p.is_file() and wanted.search(str(p)))
    candidates = [fault for path in sources for fault in faults_in(path)]
    chosen = random.Random(seed).sample(candidates, min(args.count, len(candidates)))
    print(f"seed {seed}: {len(chosen)} of {len(candidates)} possible faults in {len(sources)} files", flush=True)
    if args.list:
        for path, number, kind, old, new in chosen:
            print(f"{path.relative_to(ROOT)}:{number + 1} {kind}: {old.strip()!r} -> {new.strip()!r}")
        return 0

    planted = {}  # path -> original bytes, for putting back

    def restore(*_):
        for path, original in planted.items():
            path.write_bytes(original)
        planted.clear()

    def interrupted(signum, _frame):
        # The build under way is killed, and given a moment to be gone, before the files go back, so no
        # object built from a fault is newer than its restored source. (No waiting on the process here: the
        # interrupted code may be inside its wait.)
        for process in list(RUNNING):
            kill_group(process)
        time.sleep(1)
        restore()
        print("interrupted; every planted file is back", flush=True)
        os._exit(128 + signum)

    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)

    build = ROOT / args.build
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    ctest = ["ctest", "-j2", "--timeout", str(args.timeout)] + (["-R", args.tests] if args.tests else [])
    # A fault is killed by the first test that fails, so a mutant's run stops there; the unchanged tree's run
    # goes through whole, since every test must pass on it.
    mutant_ctest = ctest + ["--stop-on-failure"]
    # A new build folder is made without warnings as errors: a fault that only draws a warning still has to
    # be caught by a test. An existing one is used as it is configured.
    # Its layer libraries are shared, and test programs are not relinked when one changes, so a fault costs
    # one file's compile and one library's link.
    configure = ["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja", "-DMOSAICOR_BENCH=OFF",
                 "-DMOSAICOR_CHECK_HEADERS=OFF", "-DMOSAICOR_LIBRARY_TYPE=SHARED",
                 "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    compile_all = ["cmake", "--build", str(build)]
    compile = compile_all + [arg for target in args.target or [] for arg in ("--target", target)]
    fresh = not (build / "CMakeCache.txt").exists()
    if (fresh and run(configure, ROOT, None) != 0) or run(compile, ROOT, None) != 0:
        print("the unchanged tree does not build", file=sys.stderr)
        return 1
    if run(ctest, build, args.timeout, env) != 0:
        print("the test suite fails on the unchanged tree; nothing to judge", file=sys.stderr)
        return 1

    tally = {"killed": 0, "survived": 0, "timed out (counted killed)": 0, "did not build": 0}
    survivors = []
    try:
        for index, (path, number, kind, old, new) in enumerate(chosen, 1):
            original = path.read_bytes()
            planted[path] = original
            lines = original.decode("utf-8").split("\n")
            lines[number] = new
            path.write_text("\n".join(lines), encoding="utf-8")
            began = time.monotonic()
            if run(compile, ROOT, None) != 0:
                outcome = "did not build"
            else:
                status = run_nearest_first(mutant_ctest, path, build, args, env)
                outcome = "timed out (counted killed)" if status is None else "killed" if status else "survived"
            restore()
            tally[outcome] += 1
            where = f"{path.relative_to(ROOT)}:{number + 1}"
            if outcome == "survived":
                survivors.append(f"{where} {kind}: {old.strip()!r} -> {new.strip()!r}")
            print(f"[{index}/{len(chosen)}] {where} {kind}: {outcome} ({time.monotonic() - began:.0f} s)", flush=True)
    finally:
        restore()
        # Leaves the build folder matching the restored sources.
        run(compile, ROOT, None)

    built = len(chosen) - tally["did not build"]
    killed = tally["killed"] + tally["timed out (counted killed)"]
    print(f"seed {seed}: " + ", ".join(f"{n} {k}" for k, n in tally.items()))
    if built:
        print(f"killed {killed} of {built} that built ({100 * killed / built:.0f} %)")
    for line in survivors:
        print("survived: " + line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
