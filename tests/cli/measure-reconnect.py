#!/usr/bin/env python3
"""How `quolix-cli record` rides out a counter that vanishes and returns.

Not part of the test suite (it takes about 32 s). Run:

    tests/cli/measure-reconnect.py BUILD_DIR

The simulator vanishes 14 s after its start and returns 14 s later on the same
link path. Reported:
  - the time from the simulator's new "PATH -> SLAVE" line to the recorder's
    "カウンタが再び応答しています。" line (the first reading after the return),
    both time-stamped as they arrive on their pipes;
  - the recorder's CPU time as a share of one core over 10 s while connected
    and over 10 s while the device is missing, from /proc/PID/schedstat (the
    scheduler's exact run time).
"""

import os
import selectors
import subprocess
import sys
import tempfile
import time

VANISH_AT = 14.0
AWAY_FOR = 14.0


def cpu_ns(pid):
    with open(f"/proc/{pid}/schedstat") as stat:
        return int(stat.read().split()[0])


def main():
    build = os.path.abspath(sys.argv[1])
    cli = os.path.join(build, "src/cli/quolix-cli")
    sim = os.path.join(build, "tools/counter-sim/quolix-counter-sim")
    with tempfile.TemporaryDirectory(prefix="quolix-reconnect-") as tmp:
        link = os.path.join(tmp, "counter")
        counter = subprocess.Popen([sim, "--link", link, "--vanish-at", str(VANISH_AT),
                                    "--vanish-for", str(AWAY_FOR)],
                                   stdout=subprocess.PIPE, text=True)
        started = time.monotonic()
        counter.stdout.readline()
        record = subprocess.Popen([cli, "--settings", os.path.join(tmp, "q.ini"), "record",
                                   "-o", os.path.join(tmp, "r.qlx"), "--port", link,
                                   "--duration", "32"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        watch = selectors.DefaultSelector()
        watch.register(counter.stdout, selectors.EVENT_READ, "sim")
        watch.register(record.stderr, selectors.EVENT_READ, "cli")
        returned = answered = None
        samples = {}
        windows = {"connected": (2.0, 12.0), "missing": (16.0, 26.0)}
        while record.poll() is None:
            now = time.monotonic() - started
            for name, (begin, end) in windows.items():
                for edge in (begin, end):
                    if (name, edge) not in samples and now >= edge:
                        samples[(name, edge)] = (cpu_ns(record.pid), time.monotonic())
            for key, _ in watch.select(timeout=0.05):
                line = key.fileobj.readline()
                if not line:
                    watch.unregister(key.fileobj)
                    continue
                at = time.monotonic()
                if key.data == "sim" and "->" in line:
                    returned = at
                elif key.data == "cli" and "再び応答" in line and returned and not answered:
                    answered = at
        counter.terminate()
        counter.wait()
        if returned and answered:
            print(f"return to first reading: {answered - returned:.3f} s")
        for name, (begin, end) in windows.items():
            cpu0, wall0 = samples[(name, begin)]
            cpu1, wall1 = samples[(name, end)]
            share = (cpu1 - cpu0) / 1e9 / (wall1 - wall0) * 100
            print(f"CPU while {name}: {share:.3f} % of one core")


if __name__ == "__main__":
    main()
