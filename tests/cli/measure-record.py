#!/usr/bin/env python3
"""Closing figures of `quolix-cli record` against the counter simulator.

Not part of the test suite (it takes as long as the recording). Run:

    tests/cli/measure-record.py BUILD_DIR [SECONDS]

It records SECONDS (default 120) from quolix-counter-sim under
/usr/bin/time -v and reports:
  - CPU time (user + system) as a share of one core over the run,
  - peak resident memory,
  - drift of the time base: the wall-clock time from Start (the line of the
    sample at 0 s) to the line of the last sample, minus that sample's elapsed
    seconds. Lines are time-stamped as they arrive on the pipe.
"""

import os
import re
import subprocess
import sys
import tempfile
import time


def main():
    build = os.path.abspath(sys.argv[1])
    seconds = int(sys.argv[2]) if len(sys.argv) > 2 else 120
    cli = os.path.join(build, "src/cli/quolix-cli")
    sim = os.path.join(build, "tools/counter-sim/quolix-counter-sim")
    with tempfile.TemporaryDirectory(prefix="quolix-measure-") as tmp:
        link = os.path.join(tmp, "counter")
        counter = subprocess.Popen([sim, "--link", link, "--freq-hz", "10000000",
                                    "--noise", "3", "--seed", "7"],
                                   stdout=subprocess.PIPE, text=True)
        counter.stdout.readline()
        command = ["/usr/bin/time", "-v", cli, "--settings", os.path.join(tmp, "quolix.ini"),
                   "record", "-o", os.path.join(tmp, "rec.qlx"), "--port", link,
                   "--duration", str(seconds)]
        recorder = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    text=True, bufsize=1)
        arrivals = []
        for line in recorder.stdout:
            arrivals.append((time.monotonic(), int(line.split()[0])))
        # The rusage of /usr/bin/time's children is the recorder's own.
        _, status, usage = os.wait4(recorder.pid, 0)
        report = recorder.stderr.read()
        counter.terminate()
        counter.wait()

    rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", report).group(1))
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", report).group(1)
    parts = [float(p) for p in wall.split(":")]
    wall_s = sum(p * 60 ** i for i, p in enumerate(reversed(parts)))
    cpu = usage.ru_utime + usage.ru_stime
    (t0, e0), (t1, e1) = arrivals[0], arrivals[-1]
    print("command:      %s" % " ".join(command[2:]))
    print("exit status:  %d" % os.waitstatus_to_exitcode(status))
    print("samples:      %d, last at %d s" % (len(arrivals), e1))
    print("wall clock:   %.2f s" % wall_s)
    print("CPU time:     %.3f s user + %.3f s system = %.3f s" %
          (usage.ru_utime, usage.ru_stime, cpu))
    print("CPU share:    %.4f %% of one core" % (100.0 * cpu / wall_s))
    print("peak RSS:     %d kB (%.2f MB)" % (rss, rss / 1024.0))
    print("drift:        %.4f s (%.4f s from Start to the last sample, minus %d s)" %
          ((t1 - t0) - (e1 - e0), t1 - t0, e1 - e0))


if __name__ == "__main__":
    main()
