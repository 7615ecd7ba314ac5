#!/usr/bin/env python3
"""Compare the deals printed by tovani-cli with the independent reference of game_deals.py.

    python3 compare_deals.py CLI_PATH [--seeds 1-40] [--require NAME,...|all] [--names NAME,...]

For every game name and every seed it runs `CLI_PATH deal --game NAME --seed N` and compares the
output with the reference byte for byte. One line per name:

    rivers-easy: 40 seeds agree
    rivers-hard: seed 7, line 12 differs: reference "11 12 5 1", tovani-cli "11 14 5 1"
    hashira: not built yet

A name that tovani-cli does not know yet (it exits with code 2 and says "no game") is reported as
not built yet; that fails the run only when the name is listed with --require (or --require all).
Any difference, or any other failure of tovani-cli (another exit code, a crash, a time-out), fails
the run. Exit code: 0 when nothing failed, 1 when something did, 2 for bad arguments.
"""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game_deals  # noqa: E402

# Seconds one deal may take before tovani-cli is reported as hanging.
CLI_TIMEOUT = 30


def parse_seeds(text):
    """"1-40", "3", "1,5,9-12" -> sorted seeds without repeats."""
    seeds = set()
    for part in text.split(","):
        part = part.strip()
        if not part:
            raise ValueError("empty seed in \"%s\"" % text)
        low, dash, high = part.partition("-")
        if not low.isdigit() or (dash and not high.isdigit()):
            raise ValueError("\"%s\" is neither a seed nor a range of seeds" % part)
        first, last = int(low), int(high) if dash else int(low)
        if first < 1 or last > 999999999 or first > last:
            raise ValueError("seeds run from 1 to 999999999, low to high, not \"%s\"" % part)
        if last - first >= 100000:
            raise ValueError("at most 100000 seeds in one range, not \"%s\"" % part)
        seeds.update(range(first, last + 1))
    return sorted(seeds)


def parse_names(text, what):
    names = [n.strip() for n in text.split(",") if n.strip()]
    if names == ["all"]:
        return list(game_deals.NAMES)
    unknown = [n for n in names if n not in game_deals.DEALS]
    if unknown:
        raise ValueError("%s: no game %s (games: %s)"
                         % (what, ", ".join('"%s"' % n for n in unknown),
                            ", ".join(game_deals.NAMES)))
    return names


def shown(line):
    """A line of output for a message: quoted, with unprintable bytes escaped."""
    if line is None:
        return "(no line: the output ends before)"
    text = line.decode("utf-8", "backslashreplace")
    if text.endswith("\n"):
        text = text[:-1]
    else:
        text += "\\(no line feed)"
    text = text.replace("\r", "\\r").replace("\t", "\\t")
    return "\"%s\"" % text


def first_difference(want, got):
    """The first line (from 1) where the two outputs differ, with both versions of it."""
    want_lines = want.splitlines(keepends=True)
    got_lines = got.splitlines(keepends=True)
    for number in range(1, max(len(want_lines), len(got_lines)) + 1):
        w = want_lines[number - 1] if number <= len(want_lines) else None
        g = got_lines[number - 1] if number <= len(got_lines) else None
        if w != g:
            return number, w, g
    return None


def run_cli(cli, name, seed):
    """(exit code, stdout bytes, stderr text); exit code None when it could not run or hung."""
    command = [cli, "deal", "--game", name, "--seed", str(seed)]
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=CLI_TIMEOUT)
    except subprocess.TimeoutExpired:
        return None, b"", "no answer within %d seconds" % CLI_TIMEOUT
    except OSError as error:
        return None, b"", "cannot run: %s" % error
    return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace").strip()


def compare_name(cli, name, seeds):
    """(status, message): status "agree", "differ", "fail" or "absent"."""
    for seed in seeds:
        want = game_deals.deal_text(name, seed).encode("ascii")
        code, got, err = run_cli(cli, name, seed)
        if code == 2 and "no game" in err:
            return "absent", "%s: not built yet" % name
        if code != 0:
            why = "exit code %s" % code if code is not None else "did not finish"
            if code is not None and code < 0:
                why = "killed by signal %d" % -code
            return "fail", "%s: seed %d: tovani-cli failed (%s)%s" % (
                name, seed, why, ": " + err.splitlines()[-1] if err else "")
        if got != want:
            number, w, g = first_difference(want, got)
            return "differ", "%s: seed %d, line %d differs: reference %s, tovani-cli %s" % (
                name, seed, number, shown(w), shown(g))
    count = len(seeds)
    return "agree", "%s: %d seed%s agree%s" % (name, count, "s" if count != 1 else "",
                                               "" if count != 1 else "s")


def main(argv):
    parser = argparse.ArgumentParser(
        description="Compare tovani-cli's game deals with the reference, byte for byte.")
    parser.add_argument("cli", help="path of tovani-cli")
    parser.add_argument("--seeds", default="1-40", help="seeds, e.g. 1-40 or 1,5,9-12 (1-40)")
    parser.add_argument("--require", default="",
                        help="names that must be built (comma-separated, or all)")
    parser.add_argument("--names", default="all", help="names to compare (all)")
    try:
        args = parser.parse_args(argv)
    except SystemExit as exit_:
        return 2 if exit_.code else 0
    try:
        seeds = parse_seeds(args.seeds)
        required = set(parse_names(args.require, "--require")) if args.require else set()
        names = parse_names(args.names, "--names")
    except ValueError as error:
        print("compare_deals.py: %s" % error, file=sys.stderr)
        return 2
    missing = sorted(required - set(names))
    if missing:
        print("compare_deals.py: --require names a game that --names leaves out: %s"
              % ", ".join(missing), file=sys.stderr)
        return 2

    failed = False
    for name in names:
        status, message = compare_name(args.cli, name, seeds)
        if status == "absent" and name in required:
            message += " (required)"
        print(message, flush=True)
        if status in ("differ", "fail") or (status == "absent" and name in required):
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
