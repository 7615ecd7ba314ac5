#!/usr/bin/env python3
"""Checks that compare_deals.py tells agreement, differences and missing games apart.

It runs compare_deals.py against a stand-in for tovani-cli, a small script that prints the
reference deals and, for chosen games, changes a line, knows no such game, or fails.
"""

import os
import stat
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
COMPARE = os.path.join(HERE, "compare_deals.py")

STAND_IN = r'''#!/usr/bin/env python3
import sys
sys.path.insert(0, %(here)r)
import game_deals
args = sys.argv[1:]
name, seed = args[args.index("--game") + 1], int(args[args.index("--seed") + 1])
mode = %(modes)r.get(name, "right")
if mode == "absent":
    sys.stderr.write('tovani-cli: no game "%%s"\n' %% name)
    sys.exit(2)
if mode == "crash" and seed == 3:
    sys.stderr.write("tovani-cli: out of tiles\n")
    sys.exit(1)
text = game_deals.deal_text(name, seed)
if mode == "wrong" and seed == 5:
    lines = text.splitlines(True)
    lines[2] = lines[2].replace("1", "9", 1)
    text = "".join(lines)
if mode == "crlf":
    text = text.replace("\n", "\r\n")
if mode == "short":
    text = "".join(text.splitlines(True)[:-1])
sys.stdout.write(text)
'''


def run(modes, *extra):
    with tempfile.TemporaryDirectory() as folder:
        cli = os.path.join(folder, "fake-cli")
        with open(cli, "w") as f:
            f.write(STAND_IN % {"here": HERE, "modes": modes})
        os.chmod(cli, os.stat(cli).st_mode | stat.S_IXUSR)
        done = subprocess.run([sys.executable, COMPARE, cli, "--seeds", "1-6"] + list(extra),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                              timeout=300)
    return done.returncode, done.stdout.splitlines(), done.stderr


def main():
    failures = []

    def expect(what, got, want):
        if got != want:
            failures.append("%s:\n  got  %r\n  want %r" % (what, got, want))

    code, out, _ = run({})
    expect("all agree: exit code", code, 0)
    expect("all agree: lines", out, ["%s: 6 seeds agree" % n for n in (
        "rivers-easy", "rivers-hard", "memory-easy", "memory-hard", "clicks-easy",
        "clicks-normal", "clicks-hard", "slider-easy", "slider-hard", "hashira")])

    code, out, _ = run({"hashira": "absent", "slider-easy": "absent"}, "--names",
                       "slider-easy,hashira")
    expect("not built: exit code", code, 0)
    expect("not built: lines", out, ["slider-easy: not built yet", "hashira: not built yet"])

    code, out, _ = run({"hashira": "absent", "slider-easy": "absent"}, "--names",
                       "slider-easy,hashira", "--require", "hashira")
    expect("required but not built: exit code", code, 1)
    expect("required but not built: lines", out,
           ["slider-easy: not built yet", "hashira: not built yet (required)"])

    code, out, _ = run({"memory-easy": "wrong"}, "--names", "memory-easy,memory-hard")
    expect("one line wrong: exit code", code, 1)
    expect("one line wrong: names", [line.split(":")[0] for line in out],
           ["memory-easy", "memory-hard"])
    expect("one line wrong: where", out[0].startswith("memory-easy: seed 5, line 3 differs: "),
           True)
    expect("one line wrong: the other name", out[1], "memory-hard: 6 seeds agree")

    code, out, _ = run({"clicks-hard": "crash"}, "--names", "clicks-hard")
    expect("cli fails: exit code", code, 1)
    expect("cli fails: line", out,
           ["clicks-hard: seed 3: tovani-cli failed (exit code 1): tovani-cli: out of tiles"])

    code, out, _ = run({"hashira": "crlf"}, "--names", "hashira", "--seeds", "2")
    expect("line ends: exit code", code, 1)
    expect("line ends: line", out,
           ['hashira: seed 2, line 1 differs: reference "well 6 12", '
            'tovani-cli "well 6 12\\r"'])

    code, out, _ = run({"rivers-easy": "short"}, "--names", "rivers-easy")
    expect("missing last line: exit code", code, 1)
    expect("missing last line: line", out[0].startswith(
        "rivers-easy: seed 1, line 85 differs: reference \"84 ")
        and out[0].endswith(", tovani-cli (no line: the output ends before)"), True)

    code, _, err = run({}, "--names", "rivers-medium")
    expect("unknown name: exit code", code, 2)
    expect("unknown name: message", "no game" in err, True)

    if failures:
        for failure in failures:
            print("check_compare_deals: " + failure, file=sys.stderr)
        return 1
    print("check_compare_deals: all checks pass")
    return 0


if __name__ == "__main__":
    sys.exit(main())
