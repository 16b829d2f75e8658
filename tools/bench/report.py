"""The benchmark's table: median, quartiles and extremes of each figure of each candidate, the
ratios of setup's medians to NSIS's, and the machine it ran on."""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "tests", "scenarios"))
import winehost  # noqa: E402

MB = 1024 * 1024


def spread(values):
    """Median, minimum, maximum, quartiles and count; None without values."""
    values = sorted(v for v in values if v is not None)
    if not values:
        return None
    quartiles = statistics.quantiles(values, n=4, method="inclusive") if len(values) > 1 else [values[0]] * 3
    return statistics.median(values), values[0], values[-1], quartiles[0], quartiles[2], len(values)


FIGURES = [("first_window", "start to first window"),
           ("to_end", "destination accepted to end"),
           ("exit", "whole process"),
           ("copy", "copy stage"),
           ("to_types", "destination accepted to the file types question"),
           ("copy_to_types", "end of copy to the file types question"),
           ("types_to_last", "file types answered to the last window")]
TITLES = {("NSIS files only", "to_end"): "destination accepted to Completed",
          ("floor", "copy"): "copy loop (its own clock)"}


def table(results, bench, quick):
    lines = ["Distribution: %d product files, %.1f MB incompressible%s; rounds with equal traces: %d of %d" % (
        len(bench.sizes), bench.total / MB, " (--quick)" if quick else "", bench.equal_rounds,
        len(next(iter(results.values())))), ""]
    lines.append("| Candidate | Figure | Median ms | Quartiles ms | Min–max ms | Runs |")
    lines.append("|---|---|---:|---:|---:|---:|")
    summary = {}
    for name in results:
        for key, title in FIGURES:
            got = spread([figures.get(key) for figures in results[name]])
            summary[(name, key)] = got
            if got is None:
                continue
            median, low, high, first, third, count = got
            lines.append("| %s | %s | %.0f | %.0f–%.0f | %.0f–%.0f | %d |" % (
                name, TITLES.get((name, key), title), median, first, third, low, high, count))
    lines += ["", "| Figure | Install.exe / NSIS (medians) |", "|---|---:|"]
    for key, title in FIGURES[:3] + [FIGURES[4], FIGURES[6]]:
        a, b = summary.get(("Install.exe", key)), summary.get(("NSIS", key))
        if a and b and b[0] > 0:
            lines.append("| %s | %.2f |" % (title, a[0] / b[0]))
    a, b = summary.get(("Install.exe", "exit")), summary.get(("NSIS /S", "exit"))
    if a and b and b[0] > 0:
        lines.append("| whole process, beside NSIS /S | %.2f |" % (a[0] / b[0]))
    a, f = summary.get(("Install.exe", "copy")), summary.get(("floor", "copy"))
    if a and f:
        lines.append("")
        lines.append("Install.exe's copy stage is %.0f ms above the floor's copy loop (%.2f times it)." % (
            a[0] - f[0], a[0] / f[0] if f[0] else float("nan")))
    return "\n".join(lines)


def machine(width):
    cpu = "?"
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    try:
        wine = subprocess.run([winehost.loader(), "--version"], stdout=subprocess.PIPE, text=True,
                              timeout=30).stdout.strip()
    except (OSError, subprocess.TimeoutExpired):
        wine = "?"
    return "%s, %d cores (nproc); %d-bit programs under %s (%s); %s" % (
        cpu, os.cpu_count() or 0, width, wine, winehost.loader(), time.strftime("%Y-%m-%d %H:%M %Z"))
