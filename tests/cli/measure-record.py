#!/usr/bin/env python3
"""Closing figures of `quolix-cli record` against the counter simulator.

Not part of the test suite (it takes as long as the recording). Run:

    tests/cli/measure-record.py BUILD_DIR [SECONDS]

It records SECONDS (default 120) from quolix-counter-sim under
/usr/bin/time -v (and perf stat, when perf is installed) and reports:
  - CPU time as a share of one core over the run: perf's task-clock, which
    the scheduler measures exactly, and the rusage figures, which the kernel
    may sample at its timer ticks and which are then coarse at this scale,
  - peak resident memory,
  - drift of the time base: the wall-clock time from Start (the line of the
    sample at 0 s) to the line of the last sample, minus that sample's elapsed
    seconds. Lines are time-stamped as they arrive on the pipe.
"""

import os
import re
import shutil
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
        perf_out = os.path.join(tmp, "perf.csv")
        perf = shutil.which("perf")
        # perf counts /usr/bin/time too, which only starts and waits.
        prefix = [perf, "stat", "-x", ",", "-e", "task-clock", "-o", perf_out] if perf else []
        command = prefix + ["/usr/bin/time", "-v", cli, "--settings", os.path.join(tmp, "quolix.ini"),
                   "record", "-o", os.path.join(tmp, "rec.qlx"), "--port", link,
                   "--duration", str(seconds)]
        recorder = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    text=True, bufsize=1)
        arrivals = []
        for line in recorder.stdout:
            arrivals.append((time.monotonic(), int(line.split()[0])))
        # The rusage of the children is the recorder's own (plus /usr/bin/time).
        _, status, usage = os.wait4(recorder.pid, 0)
        report = recorder.stderr.read()
        task_clock_ms = None
        if perf:
            with open(perf_out) as f:
                for row in f:
                    fields = row.strip().split(",")
                    if len(fields) > 2 and fields[2] == "task-clock":
                        task_clock_ms = float(fields[0])
        counter.terminate()
        counter.wait()

    rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", report).group(1))
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", report).group(1)
    parts = [float(p) for p in wall.split(":")]
    wall_s = sum(p * 60 ** i for i, p in enumerate(reversed(parts)))
    cpu = usage.ru_utime + usage.ru_stime
    (t0, e0), (t1, e1) = arrivals[0], arrivals[-1]
    print("command:      %s" % " ".join(command[len(prefix) + 2:]))
    print("exit status:  %d" % os.waitstatus_to_exitcode(status))
    print("samples:      %d, last at %d s" % (len(arrivals), e1))
    print("wall clock:   %.2f s" % wall_s)
    if task_clock_ms is not None:
        print("task-clock:   %.1f ms = %.4f %% of one core" %
              (task_clock_ms, task_clock_ms / 10.0 / wall_s))
    print("rusage:       %.6f s user + %.6f s system = %.4f %% of one core%s" %
          (usage.ru_utime, usage.ru_stime, 100.0 * cpu / wall_s,
           " (perf itself included)" if perf else ""))
    print("peak RSS:     %d kB (%.2f MB)" % (rss, rss / 1024.0))
    print("drift:        %.4f s (%.4f s from Start to the last sample, minus %d s)" %
          ((t1 - t0) - (e1 - e0), t1 - t0, e1 - e0))


if __name__ == "__main__":
    main()
